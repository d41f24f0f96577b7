#pragma once
// Owns the clinic's norms for the whole program: read from Normas.json in the working folder the
// first time they are wanted, written back through the program's safe write path, and announced
// to every window that measures against them.

#include "analysis/CephNorms.h"

#include <QObject>

namespace qv {

namespace platform {
class Dialogs;
}

class CephNormsStore : public QObject {
    Q_OBJECT
public:
    explicit CephNormsStore(platform::Dialogs& dialogs, QObject* parent = nullptr);

    // The norms in force, over the analyses offered now. Without the file they are the
    // definitions' own; a file that cannot be read or is refused is named with its line and
    // reason once, and the definitions' norms hold.
    const CephNorms& norms();
    // Replaces the file (a new one is its owner's only) and announces the norms; false after
    // telling why they could not be kept, the norms in force unchanged.
    bool save(const CephNorms& norms);

signals:
    void changed(const CephNorms& norms);

private:
    void load();

    platform::Dialogs& m_dialogs;
    CephNorms m_norms = CephNorms::defaults();
    bool m_loaded = false;
};

// The caption of the norms' boxes.
QString NormsCaption();

}  // namespace qv

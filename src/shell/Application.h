#pragma once
// The program body: start-up, the four windows, the event loop, shutdown.

#include <memory>

class QApplication;

namespace qv {

namespace platform {
class Dialogs;
class Display;
class Shell;
}  // namespace platform

class StartWindow;
class MainWindow;
class GuideWindow;
class SpaceEntryWindow;
class TracingWindow;
class CephNormsStore;
class PatientsWindow;
class SuperimpositionWindow;

// The four windows, created in the order Form1, Form2, Form3, Form4 and destroyed at exit.
class Windows {
public:
    // showSplash: Form1 shows its splash as soon as it exists, while the others are built.
    Windows(platform::Dialogs& dialogs, platform::Shell& shell, bool showSplash = false);
    ~Windows();
    StartWindow* form1() const { return m_form1.get(); }
    MainWindow* form2() const { return m_form2.get(); }
    GuideWindow* form3() const { return m_form3.get(); }
    SpaceEntryWindow* form4() const { return m_form4.get(); }
    TracingWindow* tracing() const { return m_tracing.get(); }
    PatientsWindow* patients() const { return m_patients.get(); }
    CephNormsStore* norms() const { return m_norms.get(); }
    SuperimpositionWindow* superimposition() const { return m_superimposition.get(); }

private:
    void buildPages(platform::Dialogs& dialogs);

    std::unique_ptr<StartWindow> m_form1;
    std::unique_ptr<MainWindow> m_form2;
    std::unique_ptr<GuideWindow> m_form3;
    std::unique_ptr<SpaceEntryWindow> m_form4;
    std::unique_ptr<CephNormsStore> m_norms;
    std::unique_ptr<TracingWindow> m_tracing;
    std::unique_ptr<PatientsWindow> m_patients;
    std::unique_ptr<SuperimpositionWindow> m_superimposition;
};

// Runs the whole program with the given services; returns the process exit code.
int RunQuorvel(QApplication& app, platform::Dialogs& dialogs, platform::Display& display, platform::Shell& shell);
// The same with the desktop's own services.
int RunQuorvel(QApplication& app);

}  // namespace qv

#pragma once
// The Tweed analysis file: one 199-byte record per patient and stage, holding what was typed
// on the Tweed page and the guide's answers. Results are never stored; opening recomputes them.

#include "records/TweedModel.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>

namespace qv {

// "INICIAL", "INTER1", "INTER2" or "FINAL".
QString StageText(AnalysisStage stage);
// "Análises/" + patient + "-" + stage + ".twe", relative to the working folder.
QString TweedFileName(const QString& patient, AnalysisStage stage);
// The stage an opened file is shown under: "-FINAL", else "-INTER1", else "-INTER2" in the
// path, otherwise the initial stage.
AnalysisStage StageFromPath(const QString& path);
// A chosen path is opened only when it holds ".twe" (case-sensitive).
bool IsTweedPath(const QString& path);
// The already-open test of ABRIR: the path holds the (non-empty) patient name and the page's
// stage text while the page holds a concluded calculation.
bool IsTweedFileAlreadyOpen(const QString& path, const QString& patient, bool concluded, AnalysisStage pageStage);

// The file holds a sheet: the typed texts, the gender, the guide's answers and whether the
// diagnosis was generated. The stage is in the file's name, not in the record.
using TweedFileRecord = TweedSheet;

inline constexpr int kTweedRecordSize = 199;

// The 199 bytes, zero-filled; texts longer than their field are cut. The clinician's IMPA is
// stored only with dcnao, the guide's answers as they stand.
QByteArray EncodeTweed(const TweedSheet& sheet);
// Reads the first 199 bytes; bytes after them are ignored and a shorter array reads as if
// zero-filled (ReadTweedFile refuses short files before they get here). The gender is Feminino
// unless the Masculino flag is set; the guide's answers are those the guide holds after its
// restore (the derived answers maior, dpinadeq, clnao, sem, severa, dessevera filled in) when
// the diagnosis was generated, and the cleared guide otherwise.
TweedSheet DecodeTweed(const QByteArray& bytes);

// The stored flags and letter codes at offsets 183 to 198 of a record.
StoredGuideAnswers StoredGuideAnswersOf(const QByteArray& record);
// The guide answers as the guide's rules restore them from a record onto a cleared guide.
GuideAnswers RestoreGuideAnswers(const QByteArray& record);

// The record's 199 bytes, without reading the rest of the file; throws IoError when the file
// cannot be read or is shorter.
QByteArray ReadTweedFileBytes(const QString& path);
// Reads the record; throws IoError when the file cannot be read or is shorter than 199 bytes.
TweedFileRecord ReadTweedFile(const QString& path);
// Writes a new file, replacing nothing; throws IoError.
void CreateTweedFile(const QString& path, const TweedFileRecord& record);
// Replaces an existing file's content as a whole; throws IoError and leaves the old content.
void RewriteTweedFile(const QString& path, const TweedFileRecord& record);

// What SALVAR on the Tweed page does, from the page's state.
struct TweedSaveState {
    bool concluded = false;   // idlabel holds a difficulty grade
    bool diagnosed = false;   // dsantinfo is visible: the suggestion has been generated
    bool nameSafe = true;     // IsSafePatientName(twPaciente)
    bool fileExists = false;  // a file of the patient's name and stage exists
    bool parcial = false;
    bool completo = false;
};

struct TweedSaveDecision {
    enum Action {
        RefuseIncomplete,  // warning "A Análise não está concluída!"
        RefuseUnsafeName,  // error UnsafePatientNameText()
        Create,            // new file, then the success information
        Rewrite,           // replace the existing file, then the success information
        RefuseComplete,    // error: analysis and guide already saved
        RefuseSaved,       // error: analysis already saved
        Nothing,           // no file, no message (IMPA choice pending)
    } action = Nothing;
    bool checkParcial = false;   // set before writing: they stay set if the write fails
    bool checkCompleto = false;
    enum Kind { NoBox, Warning, Error, Information } kind = NoBox;
    QString message;  // the box to show; for Create/Rewrite, after a successful write
};

TweedSaveDecision DecideTweedSave(const TweedSaveState& state);

// SALVAR's decision and write under the lock beside the file, so two computers saving the same
// patient and stage decide on the file as it stands: `state.fileExists` is filled in here.
// `decided` runs under the lock with the decision before anything is written (the page checks
// parcial/completo there, so they stay checked when the write fails). A refusal or Nothing
// writes nothing; Create never replaces a file. Throws IoError: FileBusyError when another
// computer holds the lock (nothing decided, nothing written).
TweedSaveDecision SaveTweedFile(const QString& path, const TweedFileRecord& record, TweedSaveState state,
                                const std::function<void(const TweedSaveDecision&)>& decided = {});

}  // namespace qv

#include "records/TweedFile.h"

#include "records/Cp1252.h"
#include "records/FileIo.h"
#include "records/PatientName.h"

#include <QFileInfo>

namespace qv {

namespace {

constexpr int kMeasureCapacity = 5;
constexpr int kGuideDone = 0;
constexpr int kGenMasc = 55;
constexpr int kDcnao = 176;
constexpr int kDcopcres = 177;
// Guide answers.
constexpr int kDaapinh = 183;
constexpr int kMenor = 184;
constexpr int kDmapinh = 185;
constexpr int kDmrel = 186;
constexpr int kDmpro = 187;
constexpr int kDpadq = 188;
constexpr int kClsim = 189;
constexpr int kHorcl2 = 190;
constexpr int kSubdivision = 191;
constexpr int kHorcl3 = 192;
constexpr int kAberta = 193;
constexpr int kOpenBiteGrade = 194;
constexpr int kProfunda = 195;
constexpr int kMedia = 196;
constexpr int kDesarm = 197;
constexpr int kDessuave = 198;

void putFlag(QByteArray& r, int offset, bool on) { r[offset] = on ? char(1) : char(0); }
bool flag(const QByteArray& r, int offset) { return r.at(offset) == char(1); }

}  // namespace

QString StageText(AnalysisStage stage)
{
    switch (stage) {
    case AnalysisStage::INICIAL:
        return QStringLiteral("INICIAL");
    case AnalysisStage::INTER1:
        return QStringLiteral("INTER1");
    case AnalysisStage::INTER2:
        return QStringLiteral("INTER2");
    case AnalysisStage::FINAL:
        return QStringLiteral("FINAL");
    }
    return QStringLiteral("INICIAL");
}

QString TweedFileName(const QString& patient, AnalysisStage stage)
{
    return AnalysesFolder() + patient + u'-' + StageText(stage) + QStringLiteral(".twe");
}

AnalysisStage StageFromPath(const QString& path)
{
    if (path.contains(QStringLiteral("-FINAL")))
        return AnalysisStage::FINAL;
    if (path.contains(QStringLiteral("-INTER1")))
        return AnalysisStage::INTER1;
    if (path.contains(QStringLiteral("-INTER2")))
        return AnalysisStage::INTER2;
    return AnalysisStage::INICIAL;
}

bool IsTweedPath(const QString& path) { return path.contains(QStringLiteral(".twe")); }

bool IsTweedFileAlreadyOpen(const QString& path, const QString& patient, bool concluded, AnalysisStage pageStage)
{
    return concluded && !patient.isEmpty() && path.contains(patient) && path.contains(StageText(pageStage));
}

QByteArray EncodeTweed(const TweedSheet& sheet)
{
    QByteArray r(kTweedRecordSize, '\0');
    putFlag(r, kGuideDone, sheet.guideDone);
    for (const TweedField& f : TweedFields())
        if (f.input && f.offset >= 0)
            PutShortString(r, f.offset, f.capacity, sheet.*(f.input));
    putFlag(r, kGenMasc, sheet.GenMasc);
    putFlag(r, kDcnao, sheet.dcnao);
    if (sheet.dcnao)
        PutShortString(r, kDcopcres, kMeasureCapacity, sheet.dcopcres);

    const StoredGuideAnswers g = StoreGuideAnswers(sheet.guide);
    putFlag(r, kDaapinh, g.daapinh);
    putFlag(r, kMenor, g.menor);
    putFlag(r, kDmapinh, g.dmapinh);
    putFlag(r, kDmrel, g.dmrel);
    putFlag(r, kDmpro, g.dmpro);
    putFlag(r, kDpadq, g.dpadq);
    putFlag(r, kClsim, g.clsim);
    putFlag(r, kHorcl2, g.horcl2);
    r[kSubdivision] = g.subdivisionCode;
    putFlag(r, kHorcl3, g.horcl3);
    putFlag(r, kAberta, g.aberta);
    r[kOpenBiteGrade] = g.openBiteGrade;
    putFlag(r, kProfunda, g.profunda);
    putFlag(r, kMedia, g.media);
    putFlag(r, kDesarm, g.desarm);
    putFlag(r, kDessuave, g.dessuave);
    return r;
}

namespace {

// Exactly one record: bytes after it are ignored, missing ones read as zero.
QByteArray oneRecord(const QByteArray& bytes)
{
    QByteArray r = bytes.left(kTweedRecordSize);
    if (r.size() < kTweedRecordSize)
        r.append(QByteArray(kTweedRecordSize - r.size(), '\0'));
    return r;
}

}  // namespace

TweedSheet DecodeTweed(const QByteArray& record)
{
    const QByteArray bytes = oneRecord(record);
    TweedSheet sheet;
    sheet.guideDone = flag(bytes, kGuideDone);
    for (const TweedField& f : TweedFields())
        if (f.input && f.offset >= 0)
            sheet.*(f.input) = GetShortString(bytes, f.offset, f.capacity);
    sheet.GenMasc = flag(bytes, kGenMasc);
    sheet.GenFem = !sheet.GenMasc;
    sheet.dcnao = flag(bytes, kDcnao);
    if (sheet.dcnao)
        sheet.dcopcres = GetShortString(bytes, kDcopcres, kMeasureCapacity);
    if (sheet.guideDone)
        sheet.guide = RestoreGuideAnswers(bytes);
    return sheet;
}

StoredGuideAnswers StoredGuideAnswersOf(const QByteArray& record)
{
    const QByteArray r = oneRecord(record);
    StoredGuideAnswers g;
    g.daapinh = flag(r, kDaapinh);
    g.menor = flag(r, kMenor);
    g.dmapinh = flag(r, kDmapinh);
    g.dmrel = flag(r, kDmrel);
    g.dmpro = flag(r, kDmpro);
    g.dpadq = flag(r, kDpadq);
    g.clsim = flag(r, kClsim);
    g.horcl2 = flag(r, kHorcl2);
    g.subdivisionCode = r.at(kSubdivision);
    g.horcl3 = flag(r, kHorcl3);
    g.aberta = flag(r, kAberta);
    g.openBiteGrade = r.at(kOpenBiteGrade);
    g.profunda = flag(r, kProfunda);
    g.media = flag(r, kMedia);
    g.desarm = flag(r, kDesarm);
    g.dessuave = flag(r, kDessuave);
    return g;
}

// The guide's own rules derive what is not stored, as they do on the window.
GuideAnswers RestoreGuideAnswers(const QByteArray& record) { return RestoreGuideForm(StoredGuideAnswersOf(record)).answers(); }

QByteArray ReadTweedFileBytes(const QString& path) { return ReadFileHead(path, kTweedRecordSize); }

TweedSheet ReadTweedFile(const QString& path) { return DecodeTweed(ReadTweedFileBytes(path)); }

void CreateTweedFile(const QString& path, const TweedFileRecord& record) { WriteNewFileBytes(path, EncodeTweed(record)); }

void RewriteTweedFile(const QString& path, const TweedFileRecord& record) { ReplaceFileBytes(path, EncodeTweed(record)); }

TweedSaveDecision DecideTweedSave(const TweedSaveState& s)
{
    TweedSaveDecision d;
    const QString written = QStringLiteral("Arquivo Gravado com sucesso!");
    if (!s.concluded) {
        d.action = TweedSaveDecision::RefuseIncomplete;
        d.kind = TweedSaveDecision::Warning;
        d.message = QStringLiteral("A Análise não está concluída!");
    } else if (!s.nameSafe) {
        d.action = TweedSaveDecision::RefuseUnsafeName;
        d.kind = TweedSaveDecision::Error;
        d.message = UnsafePatientNameText();
    } else if (!s.fileExists) {
        d.action = TweedSaveDecision::Create;
        d.checkParcial = true;
        d.checkCompleto = s.diagnosed;
        d.kind = TweedSaveDecision::Information;
        d.message = written;
    } else if (s.completo) {
        d.action = TweedSaveDecision::RefuseComplete;
        d.kind = TweedSaveDecision::Error;
        d.message = QStringLiteral("Já existe análise e Guia Diagnóstico salvos para este paciente!");
    } else if (s.diagnosed) {
        d.action = TweedSaveDecision::Rewrite;
        d.checkParcial = true;
        d.checkCompleto = true;
        d.kind = TweedSaveDecision::Information;
        d.message = written;
    } else if (s.parcial) {
        d.action = TweedSaveDecision::RefuseSaved;
        d.kind = TweedSaveDecision::Error;
        d.message = QStringLiteral("Já existe análise salva para este paciente!");
    }
    return d;
}

TweedSaveDecision SaveTweedFile(const QString& path, const TweedFileRecord& record, TweedSaveState state,
                                const std::function<void(const TweedSaveDecision&)>& decided)
{
    const auto decideAndWrite = [&] {
        state.fileExists = QFileInfo::exists(path);
        const TweedSaveDecision d = DecideTweedSave(state);
        if (decided)
            decided(d);
        if (d.action == TweedSaveDecision::Create)
            CreateTweedFile(path, record);
        else if (d.action == TweedSaveDecision::Rewrite)
            RewriteTweedFile(path, record);
        return d;
    };
    // Refusals that do not depend on the file are decided without a lock: an unsafe name must
    // not even name a lock file.
    if (!state.concluded || !state.nameSafe)
        return decideAndWrite();
    return WithFileLock(path, decideAndWrite);
}

}  // namespace qv

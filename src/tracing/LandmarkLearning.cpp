#include "tracing/LandmarkLearning.h"

#include "analysis/TracingFile.h"
#include "records/FileIo.h"
#include "records/IoError.h"
#include "tracing/Radiograph.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace qv {

namespace {

const QString kFolder = QStringLiteral("Análises");

// Reading the radiographs is the first tenth of the progress shown, learning the rest.
constexpr int kProgressSteps = 1000;
constexpr int kReadingSteps = 100;

}  // namespace

QString LandmarkLearning::modelFile() { return QStringLiteral("Modelo de pontos.dat"); }

std::vector<SavedTracing> SavedTracings(int* count)
{
    std::vector<SavedTracing> out;
    const QDir folder(kFolder);
    const QStringList files = folder.entryList({QStringLiteral("*.tra")}, QDir::Files, QDir::Name);
    if (count)
        *count = int(files.size());
    for (const QString& name : files) {
        const QString path = folder.filePath(name);
        QByteArray bytes;
        try {
            bytes = ReadFileBytes(path);
        } catch (const IoError&) {
            continue;
        }
        const DecodedTracing decoded = DecodeTracing(bytes);
        if (!decoded.document || decoded.document->image.isEmpty())
            continue;
        const TracingDocument& doc = *decoded.document;
        SavedTracing t;
        t.name = name;
        t.digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        t.imageFile = ResolveImagePath(doc.image, path);
        t.calibration = doc.calibration;
        for (int i = 0; i < kLandmarkCount; ++i)
            if (const Landmark l = LandmarkAt(i); doc.landmarks.has(l) && !doc.proposed.test(size_t(i)))
                t.points.set(l, doc.landmarks.at(l));
        // A DICOM radiograph may carry the calibration the tracing lacks: that is known only
        // once it is read.
        const bool dicom = t.imageFile.endsWith(QStringLiteral(".dcm"), Qt::CaseInsensitive);
        if (t.points.count() > 0 && QFileInfo(t.imageFile).isFile() && (t.calibration.known() || dicom))
            out.push_back(std::move(t));
    }
    return out;
}

LandmarkLearning::LandmarkLearning(QObject* parent) : QObject(parent) {}

LandmarkLearning::~LandmarkLearning()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

QString LandmarkLearning::load()
{
    if (m_loaded)
        return {};
    m_loaded = true;
    if (!QFileInfo::exists(modelFile()))
        return {};
    QString why;
    try {
        DecodedModel decoded = DecodeModel(ReadFileBytes(modelFile()));
        if (decoded.model) {
            m_model = std::make_shared<const ProposalModel>(std::move(*decoded.model));
            emit modelChanged();
            return {};
        }
        why = decoded.error;
    } catch (const IoError& e) {
        why = e.message();
    }
    if (survey().usable >= kMinimumTracings)
        learn();
    return QStringLiteral("O arquivo \"%1\" %2 e não foi usado. Os pontos serão aprendidos de novo com os traçados "
                          "salvos.")
        .arg(modelFile(), why);
}

LandmarkLearning::Survey LandmarkLearning::survey() const
{
    Survey s;
    const std::vector<SavedTracing> saved = SavedTracings(&s.tracings);
    s.usable = int(saved.size());
    for (const SavedTracing& t : saved) {
        const bool learned = m_model && std::any_of(m_model->cases.begin(), m_model->cases.end(), [&](const LearnedCase& c) {
                                 return c.name == t.name && c.digest == t.digest;
                             });
        s.fresh += !learned;
    }
    return s;
}

bool LandmarkLearning::learn()
{
    if (m_thread)
        return false;
    m_cancel = false;
    // The tracing files are listed and read here, in a moment: listing a folder by a pattern uses
    // a regular expression (see below).
    m_thread = QThread::create([this, saved = SavedTracings()] {
        // The radiographs are read and scaled one by one: only their small copies are kept.
        std::vector<LearningCase> cases;
        int skipped = 0;
        const int reading = std::max<int>(1, int(saved.size()));
        for (size_t i = 0; i < saved.size() && !m_cancel; ++i) {
            const SavedTracing& t = saved[i];
            LoadedRadiograph loaded = LoadRadiograph(t.imageFile);
            const Calibration c = t.calibration.known() ? t.calibration
                                  : loaded.image            ? loaded.image->calibration
                                                            : Calibration::none();
            if (!loaded.image || !c.known()) {
                ++skipped;
                continue;
            }
            cases.push_back({t.name, t.digest, PrepareRadiograph(GreyOf(*loaded.image), c), t.points});
            QMetaObject::invokeMethod(this, [this, i, reading] { emit progress(int(i + 1) * kReadingSteps / reading, kProgressSteps); },
                                      Qt::QueuedConnection);
        }
        LearningResult result;
        if (m_cancel) {
            result.cancelled = true;
        } else {
            result = Learn(cases, LearningOptions{}, [this](int done, int total) {
                const int shown = kReadingSteps + int(qint64(done) * (kProgressSteps - kReadingSteps) / std::max(1, total));
                QMetaObject::invokeMethod(this, [this, shown] { emit progress(shown, kProgressSteps); }, Qt::QueuedConnection);
            }, &m_cancel);
        }
        // Encoded here: a model of some megabytes would hold the window up for a moment. It is
        // written by the window's thread: under Wine, a thread that used Qt's regular expressions
        // (the safe write's clean-up uses them) keeps the program from ending.
        const QByteArray bytes = result.model ? EncodeModel(*result.model) : QByteArray();
        QMetaObject::invokeMethod(this, [this, result = std::move(result), skipped, bytes]() mutable {
            done(std::move(result), skipped, bytes);
        }, Qt::QueuedConnection);
    });
    m_thread->start(QThread::LowPriority);
    emit progress(0, kProgressSteps);
    return true;
}

void LandmarkLearning::cancel() { m_cancel = true; }

void LandmarkLearning::tracingSaved()
{
    if (m_thread)
        return;
    const Survey s = survey();
    if (s.usable >= kMinimumTracings && s.fresh >= kRelearnAfter)
        learn();
}

void LandmarkLearning::done(LearningResult result, int skipped, const QByteArray& bytes)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    emit progress(0, 0);
    if (result.cancelled) {
        emit finished(false, {});
        return;
    }
    if (!result.model) {
        emit finished(false, result.error);
        return;
    }
    try {
        ReplaceFileBytes(modelFile(), bytes);
    } catch (const IoError& e) {
        emit finished(false, QStringLiteral("O modelo de pontos aprendido não pôde ser gravado: %1").arg(e.message()));
        return;
    }
    m_model = std::make_shared<const ProposalModel>(std::move(*result.model));
    m_loaded = true;
    emit modelChanged();
    QString text = QStringLiteral("Pontos aprendidos com %1 traçados do consultório.").arg(m_model->cases.size());
    if (skipped > 0)
        text += QStringLiteral(" %1 traçados ficaram de fora: a radiografia não pôde ser lida ou não tem calibração.").arg(skipped);
    emit finished(true, text);
}

}  // namespace qv

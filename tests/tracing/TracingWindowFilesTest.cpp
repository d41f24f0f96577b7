// FormTracado's files: each opened tracing or radiograph starts from nothing of the one before,
// tracings with absurd points are refused, the radiograph's path is kept relative to Análises/,
// and the exports go where the clinician says, readable by the owner only.

#include "tracing/TracingWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <functional>

using namespace qv;
using namespace qv::test;

namespace {

const QFile::Permissions kGroupAndOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::WriteOther | QFile::ExeOther;

class TracingFilesTest : public TracingWindowTest {
protected:
    void abrir(const QString& name, const TracingDocument& doc)
    {
        work.write(name, EncodeTracing(doc));
        dialogs.files.push_back(work.file(name));
        button("tAbrir")->click();
        EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    }
    QString calibrationShown() const { return window.findChild<QLabel*>(QStringLiteral("calstatus"))->text(); }
    QLineEdit* edit(const char* name) const { return window.findChild<QLineEdit*>(QLatin1String(name)); }
    // A calibrated tracing of another patient, with a history of moves and values typed for it.
    void openCalibratedTracing()
    {
        TracingDocument a;
        a.image = picture(QStringLiteral("Análises/ana.png"));
        a.calibration = {0.1, 0.12};
        a.landmarks = expectedPoints();
        abrir(QStringLiteral("Análises/ANA-INICIAL.tra"), a);
        ASSERT_EQ(window.calibration(), (Calibration{0.1, 0.12}));
        window.placeLandmark(L::S, QPointF(160, 70));
        edit("calmm")->setText(QStringLiteral("10"));
        edit("calmmpx")->setText(QStringLiteral("0.1"));
        ASSERT_EQ(window.undoStack().count(), 1);
    }
};

TEST_F(TracingFilesTest, EachTracingOrRadiographOpenedStartsFromNothingOfThePreviousOne)
{
    window.show();
    // Another patient's points, a little apart from the first one's.
    LandmarkSet other;
    for (const auto& [l, p] : kPlaces)
        other.set(l, QPointF(p) + QPointF(7, l == L::Me ? 40 : 3));
    struct Case {
        const char* what;
        std::function<void()> open;
        LandmarkSet points;
    };
    const Case cases[] = {
        {"an uncalibrated tracing with its radiograph",
         [&] {
             abrir(QStringLiteral("Análises/JOSE-INICIAL.tra"), {picture(QStringLiteral("Análises/jose.png")), {}, other});
         },
         other},
        {"an uncalibrated tracing without its radiograph",
         [&] {
             abrir(QStringLiteral("Análises/JOSE-INICIAL.tra"), {QStringLiteral("sumiu.png"), {}, other});
             EXPECT_EQ(dialogs.take().kind, NoticeKind::Warning);
         },
         other},
        {"a radiograph", [&] { ASSERT_TRUE(window.openImage(picture(QStringLiteral("Análises/jose.png")))); }, {}},
    };
    for (const Case& c : cases) {
        openCalibratedTracing();
        c.open();
        EXPECT_FALSE(window.calibration().known()) << c.what;
        EXPECT_TRUE(calibrationShown().startsWith(QStringLiteral("Sem calibração"))) << c.what;
        EXPECT_EQ(window.landmarks(), c.points) << c.what;
        EXPECT_EQ(window.undoStack().count(), 0) << c.what;
        EXPECT_TRUE(edit("calmm")->text().isEmpty()) << c.what;
        EXPECT_TRUE(edit("calmmpx")->text().isEmpty()) << c.what;
        // Angles from the new points alone; no distance without a calibration of their own.
        EXPECT_EQ(window.values(), MakeTracingValues(MeasureTracing(c.points, {}))) << c.what;
        EXPECT_TRUE(window.values().afa.isEmpty()) << c.what;

        patient = QStringLiteral("JOSE");
        tweedChanged();
        if (QFile::exists(work.file(QStringLiteral("Análises/JOSE-INICIAL.tra"))))
            dialogs.answers.push_back(Answer::Yes);
        button("tSalvar")->click();
        if (!dialogs.pending().empty() && dialogs.pending().front().type == Box::Question)
            dialogs.take();
        dialogs.take();
        const auto saved = DecodeTracing(work.read(QStringLiteral("Análises/JOSE-INICIAL.tra"))).document;
        ASSERT_TRUE(saved.has_value()) << c.what;
        EXPECT_FALSE(saved->calibration.known()) << c.what;
        EXPECT_EQ(saved->landmarks, c.points) << c.what;
        work.remove(QStringLiteral("Análises/JOSE-INICIAL.tra"));
        patient = QStringLiteral("MARIA");
        tweedChanged();
    }
}

TEST_F(TracingFilesTest, PointsFarOffTheRadiographAreRefusedNamingFileAndPoint)
{
    window.show();
    struct Case {
        QPointF s;
        bool withImage;
        bool opens;
    };
    // The picture is 800 x 600: points may lie up to one picture beyond each edge.
    const Case cases[] = {
        {{1e308, 60}, true, false},  {{1600, 60}, true, true},     {{1600.5, 60}, true, false},
        {{60, -600.5}, true, false}, {{-800, -600}, true, true},   {{1.8e7, 60}, false, false},
        {{5999, 60}, false, true},   {{6000.5, 60}, false, false}, {{60, -1e308}, false, false},
    };
    for (const Case& c : cases) {
        openCalibratedTracing();
        const LandmarkSet before = window.landmarks();
        TracingDocument doc;
        doc.image = c.withImage ? picture(QStringLiteral("Análises/jose.png")) : QStringLiteral("sumiu.png");
        doc.landmarks = expectedPoints();
        doc.landmarks.set(L::S, c.s);
        abrir(QStringLiteral("Análises/JOSE-INICIAL.tra"), doc);
        const std::string what = std::to_string(c.s.x()) + ", " + std::to_string(c.s.y());
        if (c.opens) {
            if (!c.withImage) {
                EXPECT_TRUE(dialogs.take().text.contains(QStringLiteral("fundo vazio"))) << what;
                EXPECT_LE(window.radiograph().width, kBlankCanvasLimit) << what;
            }
            EXPECT_EQ(window.landmarks(), doc.landmarks) << what;
            continue;
        }
        const Box b = dialogs.take();
        EXPECT_EQ(b.kind, NoticeKind::Error) << what;
        EXPECT_TRUE(b.text.contains(work.file(QStringLiteral("Análises/JOSE-INICIAL.tra")))) << b.text.toStdString();
        EXPECT_TRUE(b.text.contains(QStringLiteral("o ponto \"S\""))) << b.text.toStdString();
        // The tracing on screen stays as it was.
        EXPECT_EQ(window.landmarks(), before) << what;
        EXPECT_EQ(window.calibration(), (Calibration{0.1, 0.12})) << what;
        EXPECT_EQ(window.radiograph().width, 800) << what;
    }
}

TEST_F(TracingFilesTest, SalvarKeepsTheRadiographRelativeToAnalisesAndOffersToCopyItThere)
{
    window.show();
    QDir().mkpath(work.file(QStringLiteral("Análises/rx")));
    struct Case {
        const char* image;             // in the working folder
        const char* occupant;          // a file already in Análises/ under the copy's name
        std::optional<Answer> answer;  // to the offer of a copy; none: no offer
        const char* stored;            // image path in the tracing, relative to the working folder when absolute
        const char* copy;              // the copy made, if any
    };
    const Case cases[] = {
        {"Análises/rx/ceph.png", nullptr, std::nullopt, "rx/ceph.png", nullptr},
        {"Análises/ceph.png", nullptr, std::nullopt, "ceph.png", nullptr},
        {"fora/ceph.png", nullptr, Answer::Yes, "MARIA-INICIAL.png", "Análises/MARIA-INICIAL.png"},
        {"fora/ceph.png", "outra imagem", Answer::Yes, "MARIA-INICIAL-2.png", "Análises/MARIA-INICIAL-2.png"},
        {"fora/ceph.png", nullptr, Answer::No, "/fora/ceph.png", nullptr},
        {"fora/ceph.png", nullptr, Answer::Closed, "/fora/ceph.png", nullptr},
    };
    const QString tra = QStringLiteral("Análises/MARIA-INICIAL.tra");
    for (const Case& c : cases) {
        const QString what = QString::fromUtf8(c.image) + QStringLiteral(" ") + QString::fromUtf8(c.stored);
        QDir().mkpath(work.file(QStringLiteral("fora")));
        const QString image = picture(QString::fromUtf8(c.image));
        if (c.occupant)
            work.write(QStringLiteral("Análises/MARIA-INICIAL.png"), c.occupant);
        ASSERT_TRUE(window.openImage(image));
        window.placeLandmark(L::S, QPointF(10, 20));
        if (c.answer)
            dialogs.answers.push_back(*c.answer);
        button("tSalvar")->click();
        if (c.answer) {
            const Box offer = dialogs.take();
            EXPECT_EQ(offer.type, Box::Question) << what.toStdString();
            EXPECT_TRUE(offer.text.contains(QStringLiteral("fora da pasta Análises"))) << offer.text.toStdString();
        }
        dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Traçado salvo em \"%1\".").arg(tra), kCaption);
        const QString stored = DecodeTracing(work.read(tra)).document->image;
        const QString expected = c.stored[0] == '/' ? work.path() + QString::fromUtf8(c.stored) : QString::fromUtf8(c.stored);
        EXPECT_EQ(stored, expected) << what.toStdString();
        if (c.copy) {
            EXPECT_EQ(work.read(QString::fromUtf8(c.copy)), work.read(QString::fromUtf8(c.image)));
            if (test::kPosixPermissions)
                EXPECT_EQ(QFile::permissions(work.file(QString::fromUtf8(c.copy))) & kGroupAndOthers, QFile::Permissions()) << c.copy;
        }
        if (c.occupant) {
            EXPECT_EQ(work.read(QStringLiteral("Análises/MARIA-INICIAL.png")), QByteArray(c.occupant));
        }

        // Saved again: no second offer, the same image path.
        dialogs.answers.push_back(Answer::Yes);
        button("tSalvar")->click();
        EXPECT_EQ(dialogs.take().type, Box::Question);  // replace the tracing?
        dialogs.take();
        EXPECT_EQ(DecodeTracing(work.read(tra)).document->image, expected) << what.toStdString();
        for (const char* name : {"Análises/MARIA-INICIAL.tra", "Análises/MARIA-INICIAL.png", "Análises/MARIA-INICIAL-2.png"})
            if (work.exists(QString::fromUtf8(name)))
                work.remove(QString::fromUtf8(name));
    }
}

TEST_F(TracingFilesTest, ARadiographGoneSinceItWasOpenedIsNotOfferedForCopyAndKeepsItsPath)
{
    window.show();
    QDir().mkpath(work.file(QStringLiteral("fora")));
    struct Case {
        const char* image;
        const char* stored;  // relative to the working folder
    };
    const Case cases[] = {{"fora/ceph.png", "fora/ceph.png"}, {"Análises/ceph.png", "Análises/ceph.png"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(window.openImage(picture(QString::fromUtf8(c.image))));
        window.placeLandmark(L::S, QPointF(10, 20));
        work.remove(QString::fromUtf8(c.image));
        button("tSalvar")->click();
        dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Traçado salvo em \"Análises/MARIA-INICIAL.tra\"."), kCaption);
        EXPECT_EQ(DecodeTracing(work.read(QStringLiteral("Análises/MARIA-INICIAL.tra"))).document->image,
                  work.file(QString::fromUtf8(c.stored)));
        work.remove(QStringLiteral("Análises/MARIA-INICIAL.tra"));
    }
}

TEST_F(TracingFilesTest, AnOlderTracingsRadiographBesideTheWorkingFolderIsOfferedForCopy)
{
    window.show();
    picture(QStringLiteral("antiga.png"));
    TracingDocument doc;
    doc.image = QStringLiteral("antiga.png");  // relative to the working folder, as older tracings kept it
    doc.landmarks = expectedPoints();
    abrir(QStringLiteral("Análises/MARIA-INICIAL.tra"), doc);
    dialogs.answers.push_back(Answer::Yes);  // replace
    dialogs.answers.push_back(Answer::Yes);  // copy
    button("tSalvar")->click();
    EXPECT_EQ(dialogs.take().type, Box::Question);
    EXPECT_TRUE(dialogs.take().text.contains(QDir::toNativeSeparators(work.file(QStringLiteral("antiga.png")))));
    dialogs.take();
    EXPECT_EQ(DecodeTracing(work.read(QStringLiteral("Análises/MARIA-INICIAL.tra"))).document->image,
              QStringLiteral("MARIA-INICIAL.png"));
    EXPECT_EQ(work.read(QStringLiteral("Análises/MARIA-INICIAL.png")), work.read(QStringLiteral("antiga.png")));
}

TEST_F(TracingFilesTest, OpeningFindsTheRadiographInAnalisesByItsRelativePathOrItsName)
{
    window.show();
    QDir().mkpath(work.file(QStringLiteral("Análises/rx")));
    QDir().mkpath(work.file(QStringLiteral("fora")));
    picture(QStringLiteral("Análises/rx/ceph.png"));
    picture(QStringLiteral("Análises/restaurada.png"));
    picture(QStringLiteral("fora/ainda.png"));
    picture(QStringLiteral("antiga.png"));
    struct Case {
        QString stored;
        bool found;
    };
    const Case cases[] = {
        {QStringLiteral("rx/ceph.png"), true},
        {QStringLiteral("/outro/computador/restaurada.png"), true},  // restored on another computer
        {work.file(QStringLiteral("fora/ainda.png")), true},           // an older file, still where it was
        {QStringLiteral("antiga.png"), true},                          // older: relative to the working folder
        {QStringLiteral("rx/sumiu.png"), false},
        {QStringLiteral("/outro/computador/sumiu.png"), false},
    };
    for (const Case& c : cases) {
        TracingDocument doc;
        doc.image = c.stored;
        doc.landmarks = expectedPoints();
        abrir(QStringLiteral("Análises/MARIA-INICIAL.tra"), doc);
        if (!c.found) {
            EXPECT_TRUE(dialogs.take().text.contains(QStringLiteral("fundo vazio"))) << c.stored.toStdString();
        }
        EXPECT_EQ(window.radiograph().width, c.found ? 800 : 1000) << c.stored.toStdString();
        EXPECT_EQ(window.document(), doc) << c.stored.toStdString();  // the path as the file keeps it
    }
}

TEST_F(TracingFilesTest, ExportsGoWhereTheClinicianSaysReadableByTheOwnerOnly)
{
    struct Case {
        const char* button;
        const char* suffix;
        QByteArray head;
    };
    const Case cases[] = {
        {"tExportarPng", "png", "\x89PNG"},
        {"tExportarPdf", "pdf", "%PDF"},
    };
    openAtScaleOne();
    placeAll();
    stage = QStringLiteral("INTER1");
    tweedChanged();
    for (const Case& c : cases) {
        const QString suffix = QString::fromLatin1(c.suffix);
        const QString chosen = work.file(QStringLiteral("exportado.") + suffix);
        // An older export there, readable by everybody.
        work.write(QStringLiteral("exportado.") + suffix, "old");
        QFile::setPermissions(chosen, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

        dialogs.saveFiles.push_back(QString());  // cancelled: nothing written
        button(c.button)->click();
        EXPECT_EQ(dialogs.take().type, Box::SaveFile);
        EXPECT_EQ(work.read(QStringLiteral("exportado.") + suffix), QByteArray("old"));

        dialogs.saveFiles.push_back(chosen);
        button(c.button)->click();
        const Box asked = dialogs.take();
        EXPECT_EQ(asked.type, Box::SaveFile);
        EXPECT_EQ(dialogs.lastSaveRequest.suggestedName, QStringLiteral("MARIA-INTER1.") + suffix);
        EXPECT_TRUE(dialogs.lastSaveRequest.filter.endsWith(QStringLiteral("|*.") + suffix)) << c.suffix;
        EXPECT_FALSE(asked.hideItemEnabled);
        dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Traçado exportado em \"%1\".").arg(QDir::toNativeSeparators(chosen)), kCaption);
        EXPECT_TRUE(work.read(QStringLiteral("exportado.") + suffix).startsWith(c.head)) << c.suffix;
        const QFile::Permissions mode = QFile::permissions(chosen);
        if (test::kPosixPermissions)
            EXPECT_EQ(mode & kGroupAndOthers, QFile::Permissions()) << c.suffix;
        EXPECT_TRUE(mode.testFlags(QFile::ReadOwner | QFile::WriteOwner)) << c.suffix;
        EXPECT_FALSE(work.exists(QStringLiteral("Análises/MARIA-INTER1.") + suffix));
    }
}

}  // namespace

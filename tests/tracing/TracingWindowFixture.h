#pragma once
// The tracing window on the offscreen platform with scripted boxes: an 800 x 600 picture, its
// twenty points at known pixels, and the links to the rest of the program recorded.

#include "tracing/TracingWindow.h"

#include "records/PatientName.h"
#include "support/WorkFolder.h"
#include "tracing/TracingCanvas.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace qv::test {

using platform::Answer;
using platform::NoticeKind;
using L = Landmark;

inline const QString kCaption = QStringLiteral("Traçado Cefalométrico");

// Every landmark at a whole pixel of an 800 x 600 picture; the Tweed triangle is 3-4-5.
inline const std::pair<L, QPoint> kPlaces[] = {
    {L::S, {150, 60}},   {L::N, {600, 60}},   {L::Po, {50, 100}},   {L::Or, {450, 100}},  {L::ENA, {620, 130}},
    {L::ENP, {300, 140}}, {L::A, {600, 170}},  {L::B, {580, 330}},   {L::Ar, {120, 120}},  {L::Rp, {110, 300}},
    {L::Tg, {80, 160}},  {L::Me, {400, 400}}, {L::Ii, {550, 200}},  {L::Ai, {430, 360}},  {L::Is, {580, 210}},
    {L::OclP, {380, 230}}, {L::OclA, {560, 225}}, {L::Ls, {650, 200}}, {L::Li, {640, 260}}, {L::PogSoft, {610, 430}},
};

// Each test starts with the analyses chosen as on a computer that never chose any.
struct FreshAnalysesChoice {
    FreshAnalysesChoice() { QSettings(QStringLiteral("Quorvel"), QStringLiteral("Quorvel")).remove(QStringLiteral("tracado/analises")); }
};

class TracingWindowTest : public WorkFolderTest {
protected:
    TracingWindowTest()
    {
        dialogs.setHideItem(&popOcultar);
        QObject::connect(&window, &TracingWindow::mainWindowEnabledRequested, &window,
                         [this](bool enabled) { mainEnabled = enabled; });
        QObject::connect(&window, &TracingWindow::measurementsApplied, &window,
                         [this](const TracingValues& v) { applied.push_back(v); });
        tweedChanged();
        window.resize(1300, 900);
    }

    QString picture(const QString& name = QStringLiteral("ceph.png"))
    {
        QImage image(800, 600, QImage::Format_Grayscale8);
        image.fill(90);
        EXPECT_TRUE(image.save(work.file(name)));
        return work.file(name);
    }
    // Shown, with the picture at one widget pixel per image pixel from the corner.
    void openAtScaleOne()
    {
        ASSERT_TRUE(window.openImage(picture()));
        window.show();
        window.canvas()->setView(1, QPointF(0, 0));
    }
    void mouse(QEvent::Type type, QPointF imagePos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        TracingCanvas* c = window.canvas();
        const QPointF at = c->toWidget(imagePos);
        QMouseEvent e(type, at, c->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(c, &e);
    }
    void click(QPointF imagePos)
    {
        mouse(QEvent::MouseButtonPress, imagePos, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, imagePos, Qt::LeftButton, Qt::NoButton);
    }
    void placeAll()
    {
        for (const auto& [l, p] : kPlaces)
            click(p);
    }
    LandmarkSet expectedPoints() const
    {
        LandmarkSet s;
        for (const auto& [l, p] : kPlaces)
            s.set(l, QPointF(p));
        return s;
    }
    QString shownValue(Measure m) const
    {
        return window.findChild<QTableWidget*>(QStringLiteral("medidas"))->item(int(m), 1)->text();
    }
    QPushButton* button(const char* name) const { return window.findChild<QPushButton*>(QLatin1String(name)); }
    QString awaitedName() const { return window.findChild<QLabel*>(QStringLiteral("pontoNome"))->text(); }

    QAction popOcultar;
    FreshAnalysesChoice freshChoice;
    TracingWindow window{dialogs};
    // The Tweed page as the window is given it when it opens.
    void tweedChanged() { window.setTweedState({accepts, patient, stage}); }

    bool mainEnabled = true;
    bool accepts = true;
    QString patient = QStringLiteral("MARIA");
    QString stage = QStringLiteral("INICIAL");
    std::vector<TracingValues> applied;
};

}  // namespace qv::test

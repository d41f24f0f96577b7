// The program's modules (its own plugins, opened on first use): where they are looked for, what
// a missing or foreign module gives, and that the program itself leaves their libraries out.

#include "platform/Modules.h"

#include "patients/EvolutionChart.h"
#include "printing/ReportWindows.h"
#include "support/WorkFolder.h"
#include "tracing/DicomReader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::platform;

TEST(Modules, InstalledProgramFindsThemInItsLibraryFolder)
{
    // The program is installed in libexec/quorvel and its modules in <libdir>/quorvel.
    const QString program = QStringLiteral(QUORVEL_INSTALLED_PROGRAM_DIR);
    const QStringList folders = ModuleFolders(program);
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders.at(folders.size() - 2), program);
    EXPECT_EQ(folders.last(), QStringLiteral(QUORVEL_INSTALLED_MODULE_DIR));
    // Folders added for programs of the build tree come first.
    EXPECT_EQ(folders.first(), QStringLiteral(QUORVEL_MODULE_DIR));
}

TEST(Modules, EachModuleOpensAsItsInterfaceAndOnlyOnce)
{
    QString error;
    DicomReader* dicom = ModuleOf<DicomReader>(QStringLiteral("quorvel-dicom"), &error);
    ASSERT_NE(dicom, nullptr) << error.toStdString();
    EXPECT_EQ(ModuleOf<DicomReader>(QStringLiteral("quorvel-dicom")), dicom);
    report::PrintWindows* print = ModuleOf<report::PrintWindows>(QStringLiteral("quorvel-print"), &error);
    ASSERT_NE(print, nullptr) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
}

TEST(Modules, MissingOrForeignModulesSayWhy)
{
    struct Case {
        const char* name;
        bool asPrint;  // asked as the print windows' interface instead of the DICOM reader's
        const char* error;
    };
    const Case cases[] = {
        {"quorvel-nada", false, "quorvel-nada.so não foi encontrado"},
        {"quorvel-print", false, "quorvel-print não é um módulo deste programa"},
        {"quorvel-dicom", true, "quorvel-dicom não é um módulo deste programa"},
    };
    for (const Case& c : cases) {
        QString error;
        const bool found = c.asPrint ? ModuleOf<report::PrintWindows>(QString::fromUtf8(c.name), &error) != nullptr
                                     : ModuleOf<DicomReader>(QString::fromUtf8(c.name), &error) != nullptr;
        EXPECT_FALSE(found) << c.name;
        EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.name;
    }
}

TEST(Modules, TheProgramLinksNoneOfTheirLibraries)
{
    // What start-up must not load: DICOM, print support, archives; nor Qt Charts (GPL-3 only,
    // the chart is drawn by the program) or OpenGL.
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral(QUORVEL_PROGRAM)});
    ASSERT_TRUE(readelf.waitForFinished(30000));
    const QString dynamic = QString::fromLocal8Bit(readelf.readAllStandardOutput());
    ASSERT_TRUE(dynamic.contains(QLatin1String("libQt6Widgets"))) << dynamic.toStdString();
    for (const char* library : {"libdcm", "libofstd", "libQt6Charts", "libQt6OpenGL", "libQt6PrintSupport", "libarchive"})
        EXPECT_FALSE(dynamic.contains(QLatin1String(library))) << library;
}

class ModulesMissing : public test::WorkFolderTest {};

TEST_F(ModulesMissing, DicomSaysWhyInsteadOfFailingAndTheChartNeedsNoModule)
{
    // Only the program's own folders are left, and neither holds the modules.
    ForgetAddedModuleFolders();
    if (LoadModule(QStringLiteral("quorvel-dicom")))
        GTEST_SKIP() << "the modules were opened earlier in this process";

    QFile dicom(work.file(QStringLiteral("r.dcm")));
    ASSERT_TRUE(dicom.open(QIODevice::WriteOnly));
    dicom.write(QByteArray(132, '\0'));
    dicom.close();
    const LoadedRadiograph loaded = LoadRadiograph(dicom.fileName());
    EXPECT_FALSE(loaded.image.has_value());
    EXPECT_EQ(loaded.error,
              QStringLiteral("o leitor de DICOM deste programa não pôde ser aberto (quorvel-dicom.so não foi encontrado)."));

    // The chart is the program's own drawing: with no module anywhere it still draws, an empty
    // evolution without failing, and the report still gets its picture.
    EvolutionChart chart(5);
    chart.setEvolution(Evolution{});
    EXPECT_TRUE(chart.panels().isEmpty());
    QImage picture;
    EXPECT_TRUE(picture.loadFromData(EvolutionChart::RenderPng(Evolution{}), "PNG"));
    EXPECT_EQ(picture.width(), EvolutionChart::kPrintPixelWidth);
}

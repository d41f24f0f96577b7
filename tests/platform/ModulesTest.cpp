// The program's modules (its own plugins, opened on first use): where they are looked for, what
// a missing or foreign module gives, that the program leaves their libraries out while linking
// the rest normally, and that a module holds its own code only.

#include "platform/Modules.h"

#include "patients/EvolutionChart.h"
#include "support/WorkFolder.h"
#include "tracing/DicomReader.h"

#include <QDir>
#include <QFile>
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
    EXPECT_TRUE(error.isEmpty());
}

// An interface no module implements: a module asked as it is foreign.
class OtherInterface {
public:
    virtual ~OtherInterface() = default;
};
#define QV_OTHER_INTERFACE_IID "br.com.quorvel.Test.Other/1"
Q_DECLARE_INTERFACE(OtherInterface, QV_OTHER_INTERFACE_IID)

TEST(Modules, MissingOrForeignModulesSayWhy)
{
    struct Case {
        const char* name;
        bool asOther;  // asked as another interface than the DICOM reader's
        const char* error;
    };
    const Case cases[] = {
        {"quorvel-nada", false, "quorvel-nada" QUORVEL_MODULE_SUFFIX " não foi encontrado"},
        {"quorvel-dicom", true, "quorvel-dicom não é um módulo deste programa"},
    };
    for (const Case& c : cases) {
        QString error;
        const bool found = c.asOther ? ModuleOf<OtherInterface>(QString::fromUtf8(c.name), &error) != nullptr
                                     : ModuleOf<DicomReader>(QString::fromUtf8(c.name), &error) != nullptr;
        EXPECT_FALSE(found) << c.name;
        EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.name;
    }
}

namespace {

QString outputOf(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

}  // namespace

TEST(Modules, TheProgramLinksItsLibrariesAndLeavesTheModulesOnesOut)
{
    QV_NEEDS_LINUX_TOOLS();
    // Print support, archives and XRandR are linked like any library; DICOM comes only with its
    // module; Qt Charts (GPL-3 only: the chart is drawn by the program) and OpenGL never.
    const QString dynamic = outputOf(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral(QUORVEL_PROGRAM)});
    ASSERT_FALSE(dynamic.isEmpty());
    const struct {
        const char* library;
        bool linked;
    } cases[] = {
        {"[libQt6Widgets.so.6]", true}, {"[libQt6PrintSupport.so.6]", true}, {"[libarchive.so.13]", true},
        {"[libXrandr.so.2]", true},     {"libdcm", false},                   {"libofstd", false},
        {"libQt6Charts", false},        {"libQt6OpenGL", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dynamic.contains(QLatin1String(c.library)), c.linked) << c.library << "\n" << dynamic.toStdString();
}

TEST(Modules, TheDicomModuleHoldsItsOwnCodeAndExportsOnlyItsEntry)
{
    QV_NEEDS_LINUX_TOOLS();
    const QString module = QStringLiteral(QUORVEL_MODULE_DIR "/quorvel-dicom" QUORVEL_MODULE_SUFFIX);
    // Its only exports are Qt's plugin entry points.
    const QString exported = outputOf(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), module});
    ASSERT_FALSE(exported.isEmpty()) << module.toStdString();
    QStringList names;
    for (const QString& line : exported.split(u'\n', Qt::SkipEmptyParts))
        names << line.section(u' ', -1);
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("qt_plugin_instance"), QStringLiteral("qt_plugin_query_metadata_v2")}));

    // Every symbol of the program's namespace it defines comes from its own source: a static copy
    // of program code (a parser, a file codec, a window) would show up here.
    const QString defined = outputOf(QStringLiteral("nm"), {QStringLiteral("-C"), QStringLiteral("--defined-only"), module});
    ASSERT_FALSE(defined.isEmpty());
    int own = 0;
    for (const QString& line : defined.split(u'\n', Qt::SkipEmptyParts)) {
        QString symbol = line.section(u' ', 2);
        for (const char* prefix : {"non-virtual thunk to ", "typeinfo name for ", "typeinfo for ", "vtable for "})
            if (symbol.startsWith(QLatin1String(prefix)))
                symbol.remove(0, qsizetype(qstrlen(prefix)));
        if (!symbol.startsWith(QLatin1String("qv::")))
            continue;
        const bool fromItsSource = symbol.startsWith(QLatin1String("qv::DicomModule"))
                                   || symbol.startsWith(QLatin1String("qv::(anonymous namespace)"))
                                   || symbol == QLatin1String("qv::DicomReader");
        EXPECT_TRUE(fromItsSource) << symbol.toStdString();
        own += fromItsSource;
    }
    EXPECT_GT(own, 0);  // the module's own code is there: the listing did read its symbols
}

class ModulesMissing : public test::WorkFolderTest {};

TEST_F(ModulesMissing, DicomSaysWhyAndTheChartStillDraws)
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
              QStringLiteral("o leitor de DICOM deste programa não pôde ser aberto (quorvel-dicom" QUORVEL_MODULE_SUFFIX
                             " não foi encontrado)."));

    // The chart is the program's own drawing: with no module anywhere it still draws, an empty
    // evolution without failing, and the report still gets its picture.
    EvolutionChart chart(5);
    chart.setEvolution(Evolution{});
    EXPECT_TRUE(chart.panels().isEmpty());
    QImage picture;
    EXPECT_TRUE(picture.loadFromData(EvolutionChart::RenderPng(Evolution{}), "PNG"));
    EXPECT_EQ(picture.width(), EvolutionChart::kPrintPixelWidth);
}

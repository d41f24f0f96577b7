// A picture radiograph is read by the reader of the format its first bytes announce (else its
// name's) and by no other: a misnamed picture still opens, and a TIFF is read by the program's own
// reader, so Qt's TIFF plugin, with the GPL-only JBIG library it brings, is never loaded.

#include "tracing/Radiograph.h"

#include "support/WorkFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace qv {
namespace {

// 6 x 4 grey pictures, as bytes: writing them with Qt here would load every image plugin.
const QByteArray kPng = QByteArray::fromHex(
    "89504e470d0a1a0a0000000d49484452000000060000000408020000002266d914000000097048597300000ec400000e"
    "c401952b0e1b00000015494441540899635cb06009032a6062c000c40901008d6001ec055ee79b0000000049454e44ae"
    "426082");
const QByteArray kBmp = QByteArray::fromHex(
    "424d860000000000000036000000280000000600000004000000010018000000000050000000c40e0000c40e00000000"
    "000000000000a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a00000a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a00000a4a0"
    "a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a00000a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a00000");
const QByteArray kTiff = QByteArray::fromHex(
    "49492a0050000000a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0"
    "a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a4a0a0a40e000001030001000000060000000101"
    "0300010000000400000002010300030000000e0100000301030001000000010000000601030001000000020000001101"
    "040001000000080000001201030001000000010000001501030001000000030000001601040001000000388e03001701"
    "040001000000480000001a01050001000000fe0000001b01050001000000060100001c01030001000000010000002801"
    "030001000000020000000000000060000000010000006000000001000000080008000800");

bool JbigLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libjbig");
}

struct FormatCase {
    const char* name;
    QByteArray bytes;
    bool opens;
    bool loadsJbig;
};

class RadiographFormat : public test::WorkFolderTest {};

// Each case in a fresh process (the program's own state at a radiograph's opening), which
// reports by its exit code what the load did: 2 opened wrongly, 1 JBIG loaded, 0 neither.
TEST_F(RadiographFormat, OnlyATiffLoadsTheTiffReader)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const FormatCase cases[] = {
        {"r.png", kPng, true, false},
        {"r.bmp", kBmp, true, false},
        {"junk.png", QByteArray("\x89PNG junk"), false, false},  // damaged: only PNG's reader tries it
        {"notas.txt", QByteArray("nothing to see"), false, false},
        {"sem-nome", QByteArray("\x01\x02\x03\x04"), false, false},
        {"png-named.tif", kPng, true, false},  // misnamed: its bytes decide
        {"bmp-named.jpg", kBmp, true, false},
        {"r.tif", kTiff, true, false},
        {"tiff-named.png", kTiff, true, false},
        {"junk.tif", QByteArray("II*\0junk"), false, false},
        {"texto.tiff", QByteArray("nothing to see"), false, false},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        work.write(QString::fromLatin1(c.name), c.bytes);
        const QString path = work.file(QString::fromLatin1(c.name));
        EXPECT_EXIT(
            {
                const bool opened = LoadRadiograph(path).image.has_value();
                _exit(opened != c.opens ? 2 : JbigLoaded() ? 1 : 0);
            },
            ::testing::ExitedWithCode(c.loadsJbig ? 1 : 0), "");
    }
}

}  // namespace
}  // namespace qv

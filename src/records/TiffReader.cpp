#include "records/TiffReader.h"

#include <zlib.h>

#include <algorithm>
#include <array>

namespace qv {

namespace {

enum Tag : quint16 {
    Width = 256, Height = 257, Bits = 258, Compression = 259, Photometric = 262, StripOffsets = 273,
    Samples = 277, RowsPerStrip = 278, StripByteCounts = 279, Planar = 284, Predictor = 317,
    TileWidth = 322, TileLength = 323, TileOffsets = 324, TileByteCounts = 325, SampleFormat = 339,
};
enum Compress : quint32 { None = 1, Lzw = 5, AdobeDeflate = 8, PackBits = 32773, Deflate = 32946 };
constexpr Tag kRead[] = {Width, Height, Bits, Compression, Photometric, StripOffsets, Samples, RowsPerStrip,
                         StripByteCounts, Planar, Predictor, TileWidth, TileLength, TileOffsets, TileByteCounts, SampleFormat};

struct Failure {
    QString why;
};
[[noreturn]] void fail(const QString& why) { throw Failure{why}; }
[[noreturn]] void damaged() { fail(QStringLiteral("o arquivo TIFF está danificado ou cortado.")); }

class Bytes {
public:
    Bytes(const QByteArray& b, bool big) : m_b(b), m_big(big) {}
    qsizetype size() const { return m_b.size(); }
    quint8 u8(qint64 at) const
    {
        if (at < 0 || at >= m_b.size())
            damaged();
        return quint8(m_b[at]);
    }
    quint16 u16(qint64 at) const
    {
        const quint16 a = u8(at), b = u8(at + 1);
        return m_big ? quint16(a << 8 | b) : quint16(b << 8 | a);
    }
    quint32 u32(qint64 at) const
    {
        const quint32 a = u16(at), b = u16(at + 2);
        return m_big ? (a << 16 | b) : (b << 16 | a);
    }
    bool big() const { return m_big; }
    const char* data() const { return m_b.constData(); }

private:
    const QByteArray& m_b;
    bool m_big;
};

struct Entry {
    quint16 type = 0;
    quint32 count = 0;
    qint64 at = 0;  // where the values are
};

class Ifd {
public:
    Ifd(const Bytes& b, qint64 offset) : m_b(b)
    {
        const int n = b.u16(offset);
        for (int i = 0; i < n; ++i) {
            const qint64 e = offset + 2 + 12 * qint64(i);
            const quint16 tag = b.u16(e);
            Entry en{b.u16(e + 2), b.u32(e + 4), e + 8};
            const int size = en.type == 3 ? 2 : en.type == 4 ? 4 : en.type == 1 ? 1 : 0;
            // A field this reader uses stored as another type (a signed short, say) would be
            // skipped and read as its default: another picture than the file means.
            if (size == 0 && std::find(std::begin(kRead), std::end(kRead), tag) != std::end(kRead))
                fail(QStringLiteral("o campo %1 deste TIFF está gravado num tipo (%2) que a norma TIFF não prevê para ele.")
                         .arg(tag)
                         .arg(en.type));
            if (size == 0)
                continue;  // rationals, texts and the like: nothing this reader needs
            if (qint64(size) * en.count > 4)
                en.at = b.u32(e + 8);
            if (en.at + qint64(size) * en.count > b.size())
                damaged();
            m_entries.emplace_back(tag, en);
        }
    }
    bool has(quint16 tag) const { return find(tag) != nullptr; }
    std::vector<quint32> values(quint16 tag) const
    {
        const Entry* e = find(tag);
        std::vector<quint32> out;
        if (!e)
            return out;
        out.reserve(e->count);
        for (quint32 i = 0; i < e->count; ++i)
            out.push_back(e->type == 3   ? m_b.u16(e->at + 2 * qint64(i))
                          : e->type == 4 ? m_b.u32(e->at + 4 * qint64(i))
                                         : m_b.u8(e->at + i));
        return out;
    }
    quint32 value(quint16 tag, quint32 fallback) const
    {
        const Entry* e = find(tag);
        if (!e || e->count == 0)
            return fallback;
        return values(tag).front();
    }

private:
    const Entry* find(quint16 tag) const
    {
        for (const auto& [t, e] : m_entries)
            if (t == tag)
                return &e;
        return nullptr;
    }
    const Bytes& m_b;
    std::vector<std::pair<quint16, Entry>> m_entries;
};

// TIFF packs each row by itself: a run that goes on past the end of its row is refused, as
// readers that decode row by row would cut it and show another picture. Returns the bytes made.
qint64 unpackBits(const char* in, qint64 size, QByteArray& out, qint64 rowBytes)
{
    qint64 i = 0;
    char* o = out.data();
    const qint64 end = out.size();
    qint64 w = 0;
    const auto withinRow = [&](qint64 len) {
        if (w / rowBytes != (w + len - 1) / rowBytes)
            fail(QStringLiteral("a compressão PackBits deste TIFF passa do fim de uma linha, o que a norma TIFF não permite."));
    };
    while (i < size && w < end) {
        const int n = qint8(in[i++]);
        if (n >= 0) {
            const qint64 len = std::min<qint64>({n + 1, size - i, end - w});
            withinRow(len);
            std::copy(in + i, in + i + len, o + w);
            i += n + 1;
            w += len;
        } else if (n != -128) {
            if (i >= size)
                break;
            const qint64 len = std::min<qint64>(1 - n, end - w);
            withinRow(len);
            std::fill(o + w, o + w + len, in[i++]);
            w += len;
        }
    }
    return w;
}

// TIFF's LZW: codes of 9 to 12 bits, most significant bit first, widening one code early.
// Returns the bytes made.
qint64 unLzw(const quint8* in, qint64 size, QByteArray& out)
{
    struct Code {
        qint32 prefix;
        quint8 first, last;
        quint32 length;
    };
    std::vector<Code> table(4096);
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = {-1, quint8(i), quint8(i), 1};
    int next = 258, width = 9;
    qint64 bitPos = 0, w = 0;
    const qint64 end = out.size();
    auto* o = reinterpret_cast<quint8*>(out.data());
    qint32 prev = -1;
    auto output = [&](qint32 code) {
        const quint32 len = table[size_t(code)].length;
        qint64 pos = w + len - 1;
        for (qint32 c = code; c >= 0; c = table[size_t(c)].prefix, --pos)
            if (pos < end)
                o[pos] = table[size_t(c)].last;
        w += len;
    };
    while (w < end) {
        if (bitPos + width > size * 8)
            break;
        quint32 code = 0;
        for (int k = 0; k < width; ++k, ++bitPos)
            code = code << 1 | ((in[bitPos >> 3] >> (7 - (bitPos & 7))) & 1);
        if (code == 257)
            break;
        if (code == 256) {
            next = 258;
            width = 9;
            prev = -1;
            continue;
        }
        if (prev < 0) {
            if (code > 255)
                damaged();
            output(qint32(code));
            prev = qint32(code);
            continue;
        }
        if (int(code) > next || next >= 4096)
            damaged();
        const quint8 first = int(code) < next ? table[code].first : table[size_t(prev)].first;
        table[size_t(next)] = {prev, table[size_t(prev)].first, first, table[size_t(prev)].length + 1};
        ++next;
        output(qint32(code));
        prev = qint32(code);
        if (next + 1 >= (1 << width) && width < 12)
            ++width;
    }
    return w;
}

// Returns the bytes made.
qint64 inflate(const char* in, qint64 size, QByteArray& out)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        damaged();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    z.avail_in = uInt(std::min<qint64>(size, 0x7fffffff));
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = ::inflate(&z, Z_FINISH);
    inflateEnd(&z);
    if (rc != Z_STREAM_END && rc != Z_BUF_ERROR && rc != Z_OK)
        damaged();
    return qint64(out.size()) - qint64(z.avail_out);
}

}  // namespace

bool LooksLikeTiff(const QByteArray& head)
{
    return head.startsWith(QByteArrayView("II*\0", 4)) || head.startsWith(QByteArrayView("MM\0*", 4));
}

DecodedTiff DecodeTiff(const QByteArray& file, qint64 maxPixels)
{
    try {
        if (!LooksLikeTiff(file))
            fail(QStringLiteral("não é um arquivo TIFF."));
        const Bytes b(file, file[0] == 'M');
        const Ifd ifd(b, b.u32(4));

        TiffImage img;
        const quint32 width = ifd.value(Width, 0), height = ifd.value(Height, 0);
        const quint32 samples = ifd.value(Samples, 1);
        const std::vector<quint32> bits = ifd.has(Bits) ? ifd.values(Bits) : std::vector<quint32>{1};
        const quint32 photometric = ifd.value(Photometric, 1);
        const quint32 compression = ifd.value(Compression, None);
        const quint32 predictor = ifd.value(Predictor, 1);
        if (width == 0 || height == 0 || qint64(width) * height > maxPixels)
            fail(QStringLiteral("a imagem TIFF tem um tamanho inválido (%1 x %2).").arg(width).arg(height));
        if (bits.empty() || (bits[0] != 8 && bits[0] != 16) ||
            std::any_of(bits.begin(), bits.end(), [&](quint32 v) { return v != bits[0]; }))
            fail(QStringLiteral("imagens TIFF de %1 bits por amostra não são lidas (apenas 8 ou 16).").arg(bits.empty() ? 0 : bits[0]));
        if (ifd.value(SampleFormat, 1) != 1 || ifd.value(Planar, 1) != 1)
            fail(QStringLiteral("esta variante de TIFF (amostras em planos ou não inteiras) não é lida."));
        const bool rgb = photometric == 2;
        if ((photometric > 2) || (rgb && samples < 3) || samples < 1 || samples > 4)
            fail(QStringLiteral("apenas imagens TIFF em tons de cinza ou RGB são lidas."));
        if (compression != None && compression != Lzw && compression != PackBits && compression != AdobeDeflate &&
            compression != Deflate)
            fail(QStringLiteral("a compressão deste TIFF (%1) não é lida; salve-o sem compressão, LZW ou Deflate.")
                     .arg(compression));
        if (predictor != 1 && predictor != 2)
            fail(QStringLiteral("o preditor deste TIFF (%1) não é lido.").arg(predictor));
        img.width = int(width);
        img.height = int(height);
        img.bits = int(bits[0]);
        img.minIsWhite = photometric == 0;

        const int bytesPerSample = img.bits / 8;
        const int pixelBytes = bytesPerSample * int(samples);
        const bool tiled = ifd.has(TileOffsets);
        const quint32 blockWidth = tiled ? ifd.value(TileWidth, 0) : width;
        const quint32 blockHeight = tiled ? ifd.value(TileLength, 0) : std::min(ifd.value(RowsPerStrip, height), height);
        if (blockWidth == 0 || blockHeight == 0 || qint64(blockWidth) * blockHeight > maxPixels)
            damaged();
        const std::vector<quint32> offsets = ifd.values(tiled ? TileOffsets : StripOffsets);
        const std::vector<quint32> counts = ifd.values(tiled ? TileByteCounts : StripByteCounts);
        const quint32 across = (width + blockWidth - 1) / blockWidth;
        const quint32 down = (height + blockHeight - 1) / blockHeight;
        if (offsets.size() < size_t(across) * down || counts.size() < offsets.size())
            damaged();

        img.grey.assign(size_t(width) * height, 0);
        const qint64 rowBytes = qint64(blockWidth) * pixelBytes;
        QByteArray block(rowBytes * blockHeight, Qt::Uninitialized);
        for (quint32 by = 0; by < down; ++by)
            for (quint32 bx = 0; bx < across; ++bx) {
                const size_t k = size_t(by) * across + bx;
                const qint64 at = offsets[k], size = counts[k];
                if (at + size > file.size())
                    damaged();
                const char* in = file.constData() + at;
                block.fill(0);
                qint64 made = 0;
                switch (compression) {
                case None:
                    made = std::min<qint64>(size, block.size());
                    std::copy(in, in + made, block.data());
                    break;
                case PackBits:
                    made = unpackBits(in, size, block, rowBytes);
                    break;
                case Lzw:
                    made = unLzw(reinterpret_cast<const quint8*>(in), size, block);
                    break;
                default:
                    made = inflate(in, size, block);
                }
                const quint32 rows = std::min(blockHeight, height - by * blockHeight);
                // A strip or tile that ends before its rows do (cut short) is no picture to show:
                // its missing rows would come out black.
                if (made < (tiled ? qint64(blockHeight) : qint64(rows)) * rowBytes)
                    damaged();
                const quint32 cols = std::min(blockWidth, width - bx * blockWidth);
                for (quint32 r = 0; r < rows; ++r) {
                    const char* line = block.constData() + qint64(r) * rowBytes;
                    const auto sample = [&](quint32 x, quint32 s) -> quint32 {
                        const char* p = line + qint64(x) * pixelBytes + qint64(s) * bytesPerSample;
                        if (bytesPerSample == 1)
                            return quint8(p[0]);
                        return b.big() ? quint32(quint8(p[0])) << 8 | quint8(p[1]) : quint32(quint8(p[1])) << 8 | quint8(p[0]);
                    };
                    // The horizontal predictor stores each sample as the difference from its left
                    // neighbour, within the block's row; undo it in place before reading.
                    std::array<quint32, 4> running{};
                    quint16* out = img.grey.data() + size_t(by * blockHeight + r) * width + bx * blockWidth;
                    const quint32 mask = img.bits == 8 ? 0xff : 0xffff;
                    for (quint32 x = 0; x < (predictor == 2 ? blockWidth : cols); ++x) {
                        std::array<quint32, 4> v{};
                        for (quint32 s = 0; s < samples; ++s) {
                            v[s] = sample(x, s);
                            if (predictor == 2)
                                v[s] = running[s] = (running[s] + v[s]) & mask;
                        }
                        if (x >= cols)
                            continue;
                        out[x] = quint16(rgb ? (v[0] * 11 + v[1] * 16 + v[2] * 5) / 32 : v[0]);
                    }
                }
            }
        return {std::move(img), {}};
    } catch (const Failure& f) {
        return {std::nullopt, f.why};
    }
}

}  // namespace qv

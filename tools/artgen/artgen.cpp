// artgen: draws the program's icons, cursors and bitmaps.
//
//   artgen OUTDIR
//
// Writes every picture the resource script names into OUTDIR (normally
// src/resources/art).  The files are kept in the repository, so the normal
// build never runs this; run it again after changing a drawing here.
//
// The look is that of a small Windows tool of the late nineties: toolbar
// pictures, icons and the search arrows use the sixteen VGA colours with
// silver as the background (so that LR_LOADMAP3DCOLORS can map it to the
// button face), 1-pixel black outlines and a little grey shading.  The two
// pictures with gradients (the info box and the toolbar logo) are dithered
// onto the 216-colour cube and stored with 8 bits per pixel.
//
// Files are written by hand: BMP with a BITMAPINFOHEADER (4, 8 or 24 bits),
// ICO with 4-bit images and an AND mask, CUR with 1-bit images.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

// ---- Colours and images ---------------------------------------------------

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb black{0, 0, 0};
constexpr Rgb maroon{128, 0, 0};
constexpr Rgb green{0, 128, 0};
constexpr Rgb olive{128, 128, 0};
constexpr Rgb navy{0, 0, 128};
constexpr Rgb purple{128, 0, 128};
constexpr Rgb teal{0, 128, 128};
constexpr Rgb silver{192, 192, 192};
constexpr Rgb gray{128, 128, 128};
constexpr Rgb red{255, 0, 0};
constexpr Rgb lime{0, 255, 0};
constexpr Rgb yellow{255, 255, 0};
constexpr Rgb blue{0, 0, 255};
constexpr Rgb fuchsia{255, 0, 255};
constexpr Rgb aqua{0, 255, 255};
constexpr Rgb white{255, 255, 255};

// The palette of 4-bit pictures, in the order Windows uses.
constexpr std::array<Rgb, 16> vgaPalette = {black, maroon, green,  olive, navy, purple,
                                            teal,  silver, gray,   red,   lime, yellow,
                                            blue,  fuchsia, aqua, white};

// Pixel-art keys: one letter per VGA colour; '.' leaves the pixel alone.
Rgb keyColour(char key)
{
    switch (key) {
    case 'K': return black;
    case 'M': return maroon;
    case 'G': return green;
    case 'O': return olive;
    case 'N': return navy;
    case 'P': return purple;
    case 'T': return teal;
    case 'S': return silver;
    case 'D': return gray;
    case 'R': return red;
    case 'L': return lime;
    case 'Y': return yellow;
    case 'B': return blue;
    case 'F': return fuchsia;
    case 'A': return aqua;
    case 'W': return white;
    }
    throw std::runtime_error(std::string("unknown colour key ") + key);
}

// An RGB picture; `opaque` is only looked at for icons and cursors.
struct Image {
    int width;
    int height;
    std::vector<Rgb> pixels;
    std::vector<uint8_t> opaque;

    Image(int w, int h, Rgb fill, bool filled = true)
        : width(w), height(h), pixels(size_t(w) * h, fill), opaque(size_t(w) * h, filled)
    {
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    void set(int x, int y, Rgb c)
    {
        if (!inside(x, y))
            return;
        pixels[size_t(y) * width + x] = c;
        opaque[size_t(y) * width + x] = 1;
    }
    bool isOpaque(int x, int y) const { return inside(x, y) && opaque[size_t(y) * width + x]; }
};

// ---- Drawing --------------------------------------------------------------

void fillRect(Image& img, int x, int y, int w, int h, Rgb c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            img.set(i, j, c);
}

void frameRect(Image& img, int x, int y, int w, int h, Rgb c)
{
    for (int i = x; i < x + w; ++i) {
        img.set(i, y, c);
        img.set(i, y + h - 1, c);
    }
    for (int j = y; j < y + h; ++j) {
        img.set(x, j, c);
        img.set(x + w - 1, j, c);
    }
}

void line(Image& img, int x0, int y0, int x1, int y1, Rgb c)
{
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        img.set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// Pixel art: rows of colour keys drawn with their top left corner at (x, y).
void drawArt(Image& img, int x, int y, std::initializer_list<std::string_view> rows)
{
    int j = 0;
    for (std::string_view row : rows) {
        for (size_t i = 0; i < row.size(); ++i)
            if (row[i] != '.')
                img.set(x + int(i), y + j, keyColour(row[i]));
        ++j;
    }
}

// A shape given as a mask, drawn as the classic cut-out: `fill` inside,
// `shade` on the inner pixels of its lower right edge, a 1-pixel outline
// around it and, if wanted, a grey drop shadow one pixel down and right.
using Mask = std::vector<std::vector<uint8_t>>;

Mask emptyMask(const Image& img)
{
    return Mask(img.height, std::vector<uint8_t>(img.width, 0));
}

bool maskAt(const Mask& m, int x, int y)
{
    return y >= 0 && y < int(m.size()) && x >= 0 && x < int(m[0].size()) && m[y][x];
}

void drawCutOut(Image& img, const Mask& m, Rgb fill, Rgb shade, Rgb outline, bool shadow)
{
    auto nearShape = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (maskAt(m, x + dx, y + dy))
                    return true;
        return false;
    };
    if (shadow)
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x)
                if (nearShape(x - 1, y - 1) && !nearShape(x, y))
                    img.set(x, y, gray);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            if (maskAt(m, x, y)) {
                bool lowerRight = !maskAt(m, x + 1, y) || !maskAt(m, x, y + 1) || !maskAt(m, x + 1, y + 1);
                img.set(x, y, lowerRight ? shade : fill);
            } else if (nearShape(x, y)) {
                img.set(x, y, outline);
            }
        }
}

// ---- Fonts ----------------------------------------------------------------

// A pixel font: each glyph is a list of rows separated by blanks, '1' or
// '#' for a set pixel.  Row 0 is the top of the capitals; rows below the
// font's baseline row are descenders.  Glyph width = row length.
struct Font {
    int spacing;
    std::map<char, std::vector<std::string>> glyphs;
};

Font makeFont(int spacing, std::initializer_list<std::pair<char, std::string_view>> defs)
{
    Font f{spacing, {}};
    for (auto [ch, text] : defs) {
        std::vector<std::string> rows;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(' ', start);
            if (end == std::string_view::npos)
                end = text.size();
            rows.emplace_back(text.substr(start, end - start));
            start = end + 1;
        }
        f.glyphs[ch] = rows;
    }
    return f;
}

// The small font: 5 x 7 capitals and digits, lower case with descenders.
const Font& smallFont()
{
    static const Font font = makeFont(1, {
        {'A', "01110 10001 10001 10001 11111 10001 10001"},
        {'B', "11110 10001 10001 11110 10001 10001 11110"},
        {'C', "01110 10001 10000 10000 10000 10001 01110"},
        {'D', "11100 10010 10001 10001 10001 10010 11100"},
        {'E', "11111 10000 10000 11110 10000 10000 11111"},
        {'F', "11111 10000 10000 11110 10000 10000 10000"},
        {'G', "01110 10001 10000 10111 10001 10001 01111"},
        {'H', "10001 10001 10001 11111 10001 10001 10001"},
        {'I', "111 010 010 010 010 010 111"},
        {'J', "00111 00010 00010 00010 00010 10010 01100"},
        {'K', "10001 10010 10100 11000 10100 10010 10001"},
        {'L', "10000 10000 10000 10000 10000 10000 11111"},
        {'M', "10001 11011 10101 10101 10001 10001 10001"},
        {'N', "10001 10001 11001 10101 10011 10001 10001"},
        {'O', "01110 10001 10001 10001 10001 10001 01110"},
        {'P', "11110 10001 10001 11110 10000 10000 10000"},
        {'Q', "01110 10001 10001 10001 10101 10010 01101"},
        {'R', "11110 10001 10001 11110 10100 10010 10001"},
        {'S', "01111 10000 10000 01110 00001 00001 11110"},
        {'T', "11111 00100 00100 00100 00100 00100 00100"},
        {'U', "10001 10001 10001 10001 10001 10001 01110"},
        {'V', "10001 10001 10001 10001 10001 01010 00100"},
        {'W', "10001 10001 10001 10101 10101 10101 01010"},
        {'X', "10001 10001 01010 00100 01010 10001 10001"},
        {'Y', "10001 10001 01010 00100 00100 00100 00100"},
        {'Z', "11111 00001 00010 00100 01000 10000 11111"},
        {'a', "00000 00000 01110 00001 01111 10001 01111"},
        {'b', "10000 10000 10110 11001 10001 10001 11110"},
        {'c', "0000 0000 0111 1000 1000 1000 0111"},
        {'d', "00001 00001 01101 10011 10001 10001 01111"},
        {'e', "00000 00000 01110 10001 11111 10000 01110"},
        {'f', "0011 0100 1110 0100 0100 0100 0100"},
        {'g', "00000 00000 01111 10001 10001 10001 01111 00001 01110"},
        {'h', "10000 10000 10110 11001 10001 10001 10001"},
        {'i', "1 0 1 1 1 1 1"},
        {'j', "001 000 001 001 001 001 001 101 010"},
        {'k', "1000 1000 1001 1010 1100 1010 1001"},
        {'l', "10 10 10 10 10 10 01"},
        {'m', "00000 00000 11010 10101 10101 10101 10101"},
        {'n', "00000 00000 10110 11001 10001 10001 10001"},
        {'o', "00000 00000 01110 10001 10001 10001 01110"},
        {'p', "00000 00000 11110 10001 10001 10001 11110 10000 10000"},
        {'q', "00000 00000 01111 10001 10001 10001 01111 00001 00001"},
        {'r', "0000 0000 1011 1100 1000 1000 1000"},
        {'s', "0000 0000 0111 1000 0110 0001 1110"},
        {'t', "0100 0100 1110 0100 0100 0100 0011"},
        {'u', "00000 00000 10001 10001 10001 10011 01101"},
        {'v', "00000 00000 10001 10001 10001 01010 00100"},
        {'w', "00000 00000 10001 10001 10101 10101 01010"},
        {'x', "00000 00000 10001 01010 00100 01010 10001"},
        {'y', "00000 00000 10001 10001 10001 10001 01111 00001 01110"},
        {'z', "00000 00000 11111 00010 00100 01000 11111"},
        {'0', "01110 10001 10011 10101 11001 10001 01110"},
        {'1', "010 110 010 010 010 010 111"},
        {'2', "01110 10001 00001 00010 00100 01000 11111"},
        {'3', "11111 00010 00100 00010 00001 10001 01110"},
        {'4', "00010 00110 01010 10010 11111 00010 00010"},
        {'5', "11111 10000 11110 00001 00001 10001 01110"},
        {'6', "00110 01000 10000 11110 10001 10001 01110"},
        {'7', "11111 00001 00010 00100 01000 01000 01000"},
        {'8', "01110 10001 10001 01110 10001 10001 01110"},
        {'9', "01110 10001 10001 01111 00001 00010 01100"},
        {'-', "000 000 000 111 000 000 000"},
        {'.', "0 0 0 0 0 0 1"},
        {',', "00 00 00 00 00 01 01 10"},
        {':', "0 0 1 0 0 1 0"},
        {' ', "000 000 000 000 000 000 000"},
    });
    return font;
}

// The bold font of the logo and the calendar pages: 9 rows, 2-pixel stems.
const Font& boldFont()
{
    static const Font font = makeFont(1, {
        {'O', ".#####. ##...## ##...## ##...## ##...## ##...## ##...## ##...## .#####."},
        {'R', "######. ##...## ##...## ##...## ######. ##.##.. ##..##. ##...## ##...##"},
        {'D', "#####.. ##..##. ##...## ##...## ##...## ##...## ##...## ##..##. #####.."},
        {'A', "..###.. .##.##. ##...## ##...## ##...## ####### ##...## ##...## ##...##"},
        {'N', "##...## ###..## ###..## ####.## ##.#### ##..### ##..### ##...## ##...##"},
        {'E', "###### ##.... ##.... ##.... #####. ##.... ##.... ##.... ######"},
        {'L', "##.... ##.... ##.... ##.... ##.... ##.... ##.... ##.... ######"},
        {'-', ".... .... .... .... #### #### .... .... ...."},
        {'u', "...... ...... ...... ##..## ##..## ##..## ##..## ##.### .##.##"},
        {'m', "........ ........ ........ #######. ##.##.## ##.##.## ##.##.## ##.##.## ##.##.##"},
        {'o', "...... ...... ...... .####. ##..## ##..## ##..## ##..## .####."},
        {'1', "..##.. .###.. ####.. ..##.. ..##.. ..##.. ..##.. ..##.. ######"},
        {'2', ".####. ##..## ....## ....## ...##. ..##.. .##... ##.... ######"},
        {'3', ".####. ##..## ....## ....## ..###. ....## ....## ##..## .####."},
        {'4', "...##. ..###. .####. ##.##. ##.##. ###### ...##. ...##. ...##."},
        {' ', ".... .... .... .... .... .... .... .... ...."},
    });
    return font;
}

const std::vector<std::string>& glyph(const Font& font, char ch)
{
    auto it = font.glyphs.find(ch);
    if (it == font.glyphs.end())
        throw std::runtime_error(std::string("no glyph for ") + ch);
    return it->second;
}

int textWidth(const Font& font, std::string_view text, int scale = 1)
{
    int w = 0;
    for (char ch : text)
        w += (int(glyph(font, ch)[0].size()) + font.spacing) * scale;
    return text.empty() ? 0 : w - font.spacing * scale;
}

void drawText(Image& img, const Font& font, int x, int y, std::string_view text, Rgb c, int scale = 1)
{
    for (char ch : text) {
        const auto& rows = glyph(font, ch);
        for (size_t j = 0; j < rows.size(); ++j)
            for (size_t i = 0; i < rows[j].size(); ++i)
                if (rows[j][i] == '1' || rows[j][i] == '#')
                    fillRect(img, x + int(i) * scale, y + int(j) * scale, scale, scale, c);
        x += (int(rows[0].size()) + font.spacing) * scale;
    }
}

// ---- File writers ---------------------------------------------------------

struct Bytes {
    std::vector<uint8_t> data;
    void u8(unsigned v) { data.push_back(uint8_t(v)); }
    void u16(unsigned v)
    {
        u8(v & 0xFF);
        u8(v >> 8 & 0xFF);
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void append(const Bytes& b) { data.insert(data.end(), b.data.begin(), b.data.end()); }
};

void saveFile(const std::string& path, const Bytes& b)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(b.data.data(), 1, b.data.size(), f) != b.data.size() || std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + path);
    std::printf("%s\n", path.c_str());
}

int vgaIndex(Rgb c)
{
    for (int i = 0; i < 16; ++i)
        if (vgaPalette[i] == c)
            return i;
    throw std::runtime_error("colour outside the 16-colour palette");
}

int rowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

void bitmapInfoHeader(Bytes& b, int width, int height, int bits, uint32_t imageSize, int colours)
{
    b.u32(40);
    b.u32(uint32_t(width));
    b.u32(uint32_t(height));
    b.u16(1);
    b.u16(unsigned(bits));
    b.u32(0);           // BI_RGB
    b.u32(imageSize);
    b.u32(2835);        // 72 dpi, as paint programs write it
    b.u32(2835);
    b.u32(uint32_t(colours));
    b.u32(0);
}

// Pixel rows, bottom-up, at 1, 4, 8 or 24 bits; `index` maps a pixel to
// its palette index.
template <typename IndexOf>
Bytes pixelRows(const Image& img, int bits, IndexOf index)
{
    Bytes b;
    int stride = rowBytes(img.width, bits);
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < img.width; ++x) {
            Rgb c = img.at(x, y);
            if (bits == 24) {
                row[x * 3] = c.b;
                row[x * 3 + 1] = c.g;
                row[x * 3 + 2] = c.r;
                continue;
            }
            unsigned v = unsigned(index(x, y));
            int bit = x * bits;
            row[bit / 8] |= uint8_t(v << (8 - bits - bit % 8));
        }
        b.data.insert(b.data.end(), row.begin(), row.end());
    }
    return b;
}

void palette(Bytes& b, const std::vector<Rgb>& colours)
{
    for (Rgb c : colours) {
        b.u8(c.b);
        b.u8(c.g);
        b.u8(c.r);
        b.u8(0);
    }
}

// The colours a picture uses, in a fixed order, for an 8-bit palette.
std::vector<Rgb> usedColours(const Image& img)
{
    std::vector<Rgb> colours;
    for (Rgb c : img.pixels)
        if (std::find(colours.begin(), colours.end(), c) == colours.end())
            colours.push_back(c);
    if (colours.size() > 256)
        throw std::runtime_error("more than 256 colours in an 8-bit picture");
    std::sort(colours.begin(), colours.end(), [](Rgb a, Rgb b) {
        return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b);
    });
    return colours;
}

// A .bmp file at 4 bits (VGA palette), 8 bits (the colours used) or 24 bits.
void writeBmp(const std::string& path, const Image& img, int bits)
{
    std::vector<Rgb> colours;
    Bytes rows;
    if (bits == 4) {
        colours.assign(vgaPalette.begin(), vgaPalette.end());
        rows = pixelRows(img, 4, [&](int x, int y) { return vgaIndex(img.at(x, y)); });
    } else if (bits == 8) {
        colours = usedColours(img);
        rows = pixelRows(img, 8, [&](int x, int y) {
            return int(std::find(colours.begin(), colours.end(), img.at(x, y)) - colours.begin());
        });
    } else {
        rows = pixelRows(img, 24, [](int, int) { return 0; });
    }
    Bytes info;
    bitmapInfoHeader(info, img.width, img.height, bits, uint32_t(rows.data.size()), int(colours.size()));
    palette(info, colours);

    Bytes file;
    uint32_t offset = 14 + uint32_t(info.data.size());
    file.u8('B');
    file.u8('M');
    file.u32(offset + uint32_t(rows.data.size()));
    file.u32(0);
    file.u32(offset);
    file.append(info);
    file.append(rows);
    saveFile(path, file);
}

// One icon or cursor image: header with doubled height, palette, colour
// rows, then the AND mask (1 = transparent).
Bytes iconImage(const Image& img, int bits)
{
    std::vector<Rgb> colours;
    Bytes xorRows;
    if (bits == 4) {
        colours.assign(vgaPalette.begin(), vgaPalette.end());
        xorRows = pixelRows(img, 4, [&](int x, int y) {
            return img.isOpaque(x, y) ? vgaIndex(img.at(x, y)) : 0;
        });
    } else {
        colours = {black, white};
        xorRows = pixelRows(img, 1, [&](int x, int y) {
            if (!img.isOpaque(x, y))
                return 0;
            Rgb c = img.at(x, y);
            if (c != black && c != white)
                throw std::runtime_error("cursor colour must be black or white");
            return c == white ? 1 : 0;
        });
    }
    Bytes andRows = pixelRows(img, 1, [&](int x, int y) { return img.isOpaque(x, y) ? 0 : 1; });
    Bytes b;
    bitmapInfoHeader(b, img.width, img.height * 2, bits, uint32_t(xorRows.data.size() + andRows.data.size()),
                     int(colours.size()));
    b.data[20] = b.data[21] = b.data[22] = b.data[23] = 0;  // pixels per metre: unused in icons
    b.data[24] = b.data[25] = b.data[26] = b.data[27] = 0;
    palette(b, colours);
    b.append(xorRows);
    b.append(andRows);
    return b;
}

struct IconPart {
    const Image* image;
    int hotX, hotY;  // cursors only
};

// .ico (type 1, 4-bit images) or .cur (type 2, 1-bit images).
void writeIconFile(const std::string& path, std::initializer_list<IconPart> parts, bool cursor)
{
    std::vector<Bytes> images;
    for (const IconPart& p : parts)
        images.push_back(iconImage(*p.image, cursor ? 1 : 4));
    Bytes file;
    file.u16(0);
    file.u16(cursor ? 2 : 1);
    file.u16(unsigned(parts.size()));
    uint32_t offset = 6 + 16 * uint32_t(parts.size());
    size_t i = 0;
    for (const IconPart& p : parts) {
        file.u8(unsigned(p.image->width & 0xFF));
        file.u8(unsigned(p.image->height & 0xFF));
        file.u8(cursor ? 2 : 16);
        file.u8(0);
        file.u16(cursor ? unsigned(p.hotX) : 1);
        file.u16(cursor ? unsigned(p.hotY) : 4);
        file.u32(uint32_t(images[i].data.size()));
        file.u32(offset);
        offset += uint32_t(images[i].data.size());
        ++i;
    }
    for (const Bytes& b : images)
        file.append(b);
    saveFile(path, file);
}

// ---- Gradients and dithering for the 8-bit pictures ------------------------

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A picture drawn in full colour, dithered onto the colour cube at the end.
struct Canvas {
    int width, height;
    std::vector<Colour> px;
    Canvas(int w, int h) : width(w), height(h), px(size_t(w) * h, Colour{0, 0, 0}) {}
    Colour& at(int x, int y) { return px[size_t(y) * width + x]; }
    void set(int x, int y, Colour c)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            at(x, y) = c;
    }
    void blend(int x, int y, Colour c, double alpha)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            at(x, y) = mix(at(x, y), c, alpha);
    }
};

Colour rgb(int r, int g, int b)
{
    return {double(r), double(g), double(b)};
}

// Ordered (Bayer 4 x 4) dithering onto the 216-colour cube.
Image ditherToCube(const Canvas& c)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    Image img(c.width, c.height, black);
    auto level = [](double v, double threshold) {
        double steps = std::clamp(v, 0.0, 255.0) / 51.0;
        int base = int(std::floor(steps));
        if (base >= 5)
            return uint8_t(255);
        return uint8_t((steps - base > threshold ? base + 1 : base) * 51);
    };
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            double t = (bayer[y % 4][x % 4] + 0.5) / 16.0;
            Colour p = c.px[size_t(y) * c.width + x];
            img.set(x, y, {level(p.r, t), level(p.g, t), level(p.b, t)});
        }
    return img;
}

void canvasText(Canvas& c, const Font& font, int x, int y, std::string_view text, Colour col, int scale = 1)
{
    Image mask(c.width, c.height, black);
    drawText(mask, font, x, y, text, white, scale);
    for (int j = 0; j < c.height; ++j)
        for (int i = 0; i < c.width; ++i)
            if (mask.at(i, j) == white)
                c.at(i, j) = col;
}

// ---- The toolbar pictures -------------------------------------------------

// A tear-off calendar page, 14 x 23 with its shadow, at (x, y): two binder
// rings, a coloured header and a white page.
void drawCalendarPage(Image& img, int x, int y, int w, int h, Rgb header, Rgb headerShade)
{
    fillRect(img, x + 1, y + 1, w, h, gray);  // shadow
    fillRect(img, x, y, w, h, white);
    frameRect(img, x, y, w, h, black);
    fillRect(img, x + 1, y + 1, w - 2, 5, header);
    line(img, x + 1, y + 6, x + w - 2, y + 6, headerShade);
    img.set(x + 1, y + 1, white);  // a glint on the header
    // Two rings through the top edge.
    for (int rx : {x + 3, x + w - 5}) {
        line(img, rx, y - 2, rx, y + 2, black);
        line(img, rx + 1, y - 2, rx + 1, y + 2, gray);
        img.set(rx + 1, y - 2, black);
    }
    // A curled corner at the bottom right.
    img.set(x + w - 2, y + h - 2, silver);
    img.set(x + w - 3, y + h - 2, gray);
    img.set(x + w - 2, y + h - 3, gray);
}

// Toolbar pictures are drawn on 28 rows and stored as the 26 in the middle:
// a button 21 dialog units high keeps 28 pixels inside its border at
// 96 dpi, less with a 12-pixel dialog font.
Image buttonPicture(const Image& drawn)
{
    Image img(drawn.width, drawn.height - 2, silver);
    for (int x = 0; x < drawn.width; ++x)
        if (drawn.at(x, 0) != silver || drawn.at(x, drawn.height - 1) != silver)
            throw std::runtime_error("toolbar picture touches its first or last row");
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            img.set(x, y, drawn.at(x, y + 1));
    return img;
}

Image calendarButton(char digit, Rgb header, Rgb shade)
{
    Image img(16, 28, silver);
    drawCalendarPage(img, 1, 3, 14, 23, header, shade);
    const Font& font = boldFont();
    int w = textWidth(font, std::string(1, digit));
    drawText(img, font, 1 + (14 - w) / 2, 13, std::string(1, digit), black);
    return buttonPicture(img);
}

// A small calendar sheet with a grid of days, for the entry and search buttons.
void drawSmallCalendar(Image& img, int x, int y)
{
    drawCalendarPage(img, x, y, 13, 17, red, maroon);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            fillRect(img, x + 2 + col * 3, y + 8 + row * 3, 2, 2, row == 1 && col == 2 ? red : gray);
}

Image clockButton()
{
    Image img(16, 28, silver);
    const double cx = 7.5, cy = 13.5;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 16; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            double ds = std::hypot(x - 0.5 - cx, y - 0.5 - cy);
            if (d <= 7.3)
                img.set(x, y, d > 6.3 ? black : d > 5.3 ? blue : white);
            else if (ds <= 7.3)
                img.set(x, y, gray);
        }
    // Hour marks, then the hands at ten past ten and a red second hand.
    img.set(7, 9, black);
    img.set(7, 18, black);
    img.set(3, 13, black);
    img.set(12, 13, black);
    line(img, 7, 13, 5, 11, black);
    line(img, 7, 13, 11, 10, black);
    line(img, 7, 14, 7, 17, red);
    img.set(7, 13, black);
    img.set(8, 13, navy);
    // Two feet under the case.
    drawArt(img, 2, 20, {"KK........KK", "K.........K."});
    img.set(3, 21, gray);
    img.set(12, 21, gray);
    return buttonPicture(img);
}

Image bellButton()
{
    Image img(16, 28, silver);
    drawArt(img, 0, 5, {
        ".......KK.......",
        "......KYOK......",
        ".....KKKKKK.....",
        "....KWYYYYOK....",
        "...KWYYYYYYOK...",
        "...KWYYYYYYOK.D.",
        "...KWYYYYYYOK...",
        "...KYYYYYYYOK.D.",
        "..KWYYYYYYYYOK..",
        "..KYYYYYYYYYOK..",
        ".KWYYYYYYYYYYOK.",
        ".KYYYYYYYYYYYOK.",
        "KYYYYYYYYYYYYYOK",
        "KKKKKKKKKKKKKKKK",
        ".DDDDDKMMKDDDDD.",
        "......KMMK......",
        ".......KK.......",
    });
    // Strokes beside the bell: it rings.
    drawArt(img, 0, 7, {"K..", ".K.", "...", "K..", ".K."});
    drawArt(img, 14, 7, {".K", "K.", "..", ".K", "K."});
    return buttonPicture(img);
}

Image calendarEntryButton()
{
    Image img(16, 28, silver);
    drawSmallCalendar(img, 0, 4);
    // A pencil writing on the sheet, from the upper right down to the left.
    drawArt(img, 4, 11, {
        "..........KK",
        ".........KRRK",
        "........KRRK.",
        ".......KSDK..",
        "......KYSK...",
        ".....KYYK....",
        "....KYYOK....",
        "...KYYOK.....",
        "..KYYOK......",
        "..KWOK.......",
        ".KWWK........",
        ".KWK.........",
        "KKK..........",
        "K............",
    });
    return buttonPicture(img);
}

Image calendarSearchButton()
{
    Image img(16, 28, silver);
    drawSmallCalendar(img, 0, 4);
    // A magnifying glass over the lower right corner of the sheet.
    drawArt(img, 4, 13, {
        "..KKKK......",
        ".KAWWAK.....",
        "KAWAAAAK....",
        "KWAAAAAK....",
        "KAAAAAAK....",
        "KAAAAATK....",
        ".KAAATK.....",
        "..KKKKDK....",
        "......KMK...",
        ".......KMK..",
        "........KMK.",
        ".........KMK",
        "..........KK",
    });
    return buttonPicture(img);
}

Image addressFieldButton()
{
    Image img(14, 28, silver);
    // A clipboard with an address on it.
    fillRect(img, 2, 5, 12, 22, gray);
    fillRect(img, 1, 4, 12, 22, olive);
    frameRect(img, 1, 4, 12, 22, black);
    fillRect(img, 3, 7, 8, 17, white);
    line(img, 11, 7, 11, 23, gray);
    line(img, 3, 24, 11, 24, gray);
    drawArt(img, 4, 1, {
        "..KKK.",
        ".KDSDK",
        "KKDDDKK",
        "KSSSSSK",
        "KKKKKKK",
    });
    for (int y : {10, 12, 14})
        line(img, 4, y, y == 12 ? 9 : 8, y, navy);
    line(img, 4, 18, 7, 18, black);
    line(img, 4, 20, 9, 20, black);
    fillRect(img, 8, 9, 2, 2, red);  // the stamp
    return buttonPicture(img);
}

// The strip behind the toolbar: the button face with a faint texture of
// lighter dots.  Only the two 3D colours that LR_LOADMAP3DCOLORS maps are
// used (192 = face, 223 = light), so the pattern follows the system colours.
Image toolbarPattern()
{
    Image img(8, 8, silver);
    for (int y = 0; y < 8; y += 2)
        for (int x = 0; x < 8; ++x)
            if ((x + y) % 4 == 0)
                img.set(x, y, {223, 223, 223});
    return img;
}

// ---- Search direction arrows (32 x 15) -------------------------------------

Mask arrowUpMask(const Image& img)
{
    Mask m = emptyMask(img);
    const int cx = 15;
    for (int r = 0; r < 6; ++r)
        for (int x = cx - r; x <= cx + r; ++x)
            m[2 + r][x] = 1;
    for (int y = 8; y <= 12; ++y)
        for (int x = cx - 2; x <= cx + 2; ++x)
            m[y][x] = 1;
    return m;
}

// A ring with a gap and an arrowhead on its right side pointing up.
Mask circleUpMask(const Image& img)
{
    Mask m = emptyMask(img);
    const double cx = 15.5, cy = 7.5, pi = 3.14159265358979;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double d = std::hypot(dx, dy);
            double angle = std::atan2(dy, dx);  // 0 = right, negative = upper half
            if (d >= 4.2 && d <= 6.4 && !(angle > -pi / 2 && angle < 0.0))
                m[y][x] = 1;
        }
    // Arrowhead: apex up, its base on the end of the ring at the right.
    const int ax = 20, top = 3;
    for (int r = 0; r < 5; ++r)
        for (int x = ax - r; x <= ax + r; ++x)
            m[top + r][x] = 1;
    return m;
}

Mask flipVertical(Mask m)
{
    std::reverse(m.begin(), m.end());
    return m;
}

Image searchArrow(const Mask& m)
{
    Image img(32, 15, silver);
    drawCutOut(img, m, blue, navy, black, true);
    return img;
}

// ---- Icons and cursors ----------------------------------------------------

// The address book: a teal binder with rings, index tabs and a name label.
Image largeIcon()
{
    Image img(32, 32, black, false);
    fillRect(img, 7, 3, 21, 27, gray);  // shadow
    fillRect(img, 6, 2, 20, 27, white);  // pages
    for (int y = 4; y < 28; y += 2)
        img.set(25, y, silver);
    fillRect(img, 4, 1, 20, 27, teal);  // cover
    frameRect(img, 4, 1, 20, 27, black);
    line(img, 5, 2, 22, 2, aqua);
    line(img, 5, 2, 5, 26, aqua);
    fillRect(img, 6, 2, 2, 25, navy);  // spine
    line(img, 8, 2, 8, 26, black);
    frameRect(img, 24, 2, 3, 26, black);
    fillRect(img, 24, 3, 2, 24, white);
    // Index tabs on the edge of the pages.
    const Rgb tabs[] = {red, yellow, lime, aqua};
    for (int i = 0; i < 4; ++i) {
        int ty = 4 + i * 6;
        fillRect(img, 26, ty, 3, 4, tabs[i]);
        frameRect(img, 26, ty - 1, 4, 6, black);
        img.set(29, ty - 1, black);
        img.set(29, ty + 4, black);
    }
    // Binder rings across the spine.
    for (int y = 5; y < 26; y += 5)
        drawArt(img, 2, y, {".KKKK", "KSWSK", ".KKKK"});
    // The name label with a person on it.
    fillRect(img, 11, 6, 11, 12, white);
    frameRect(img, 10, 5, 13, 14, black);
    line(img, 11, 17, 21, 17, silver);
    drawArt(img, 13, 7, {
        "..NNN..",
        ".NBBBN.",
        ".NBBBN.",
        "..NNN..",
        ".NNNNN.",
        "NBBBBBN",
        "NBBBBBN",
        "NNNNNNN",
    });
    // Lines for the entries under the label.
    for (int y : {21, 24})
        line(img, 11, y, 21, y, aqua);
    return img;
}

Image smallIcon()
{
    Image img(16, 16, black, false);
    drawArt(img, 0, 0, {
        "................",
        "..KKKKKKKKKKK...",
        ".KKNAAAAAAAAKWK.",
        "KSWNATTTTTTTKWRK",
        ".KKNATWWWWWTKWRK",
        "..KNATWWNNWTKWKK",
        ".KKNATWNBBNTKWYK",
        "KSWNATWWNNWTKWYK",
        ".KKNATWWWWWTKWKK",
        "..KNATNNNNNTKWLK",
        ".KKNATNBBBNTKWLK",
        "KSWNATTTTTTTKWKK",
        ".KKNTAAAAATTKWK.",
        "..KNTTTTTTTTKWK.",
        "..KKKKKKKKKKKKK.",
        "...DDDDDDDDDDDD.",
    });
    return img;
}

// Pointing hand, hot spot at the tip of the index finger.
Image handCursor()
{
    Image img(32, 32, black, false);
    drawArt(img, 0, 0, {
        ".....KK...........",
        "....KWWK..........",
        "....KWWK..........",
        "....KWWK..........",
        "....KWWK..........",
        "....KWWKKK........",
        "....KWWKWWKKK.....",
        "....KWWKWWKWWKK...",
        "....KWWKWWKWWKWK..",
        ".KK.KWWKWWKWWKWWK.",
        "KWWKKWWWWWWWWKWWK.",
        "KWWWKWWWWWWWWWWWK.",
        ".KWWWWWWWWWWWWWWK.",
        "..KWWWWWWWWWWWWWK.",
        "..KWWWWWWWWWWWWWK.",
        "...KWWWWWWWWWWWK..",
        "...KWWWWWWWWWWWK..",
        "....KWWWWWWWWWK...",
        "....KWWWWWWWWWK...",
        "....KKKKKKKKKKK...",
    });
    return img;
}

// Four arrows for moving a window; hot spot in the middle.
Image moveCursor()
{
    Image img(32, 32, black, false);
    Mask m = emptyMask(img);
    const int c = 11, reach = 10;
    for (int i = c - reach; i <= c + reach; ++i) {
        m[c][i] = 1;
        m[i][c] = 1;
    }
    for (int r = 0; r < 4; ++r)
        for (int k = -r; k <= r; ++k) {
            m[c - reach + r][c + k] = 1;
            m[c + reach - r][c + k] = 1;
            m[c + k][c - reach + r] = 1;
            m[c + k][c + reach - r] = 1;
        }
    drawCutOut(img, m, white, white, black, false);
    return img;
}

// ---- The logo strip and the info picture -----------------------------------

const Colour skyTop = rgb(16, 24, 80);
const Colour skyMiddle = rgb(96, 56, 136);
const Colour skyLow = rgb(232, 112, 72);
const Colour skyHorizon = rgb(255, 208, 112);

Colour skyAt(double t)
{
    if (t < 0.55)
        return mix(skyTop, skyMiddle, t / 0.55);
    if (t < 0.85)
        return mix(skyMiddle, skyLow, (t - 0.55) / 0.30);
    return mix(skyLow, skyHorizon, (t - 0.85) / 0.15);
}

// Dawn over the sea: sky, sun with its glow and reflection, water.
void drawDawn(Canvas& c, int horizon, int sunX, double sunRadius, uint32_t seed, int stars)
{
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            if (y < horizon) {
                Colour sky = skyAt(double(y) / horizon);
                double d = std::hypot(x - sunX, (y - horizon) * 1.6);
                double glow = std::max(0.0, 1.0 - d / (sunRadius * 4.0));
                c.at(x, y) = mix(sky, rgb(255, 236, 160), glow * glow * 0.8);
            } else {
                double t = double(y - horizon) / std::max(1, c.height - horizon);
                c.at(x, y) = mix(rgb(60, 60, 130), rgb(10, 16, 56), std::sqrt(t));
            }
        }
    for (int y = horizon - int(sunRadius); y < horizon; ++y)
        for (int x = sunX - int(sunRadius) - 1; x <= sunX + int(sunRadius) + 1; ++x)
            if (std::hypot(x + 0.5 - sunX, y + 0.5 - horizon) <= sunRadius)
                c.set(x, y, mix(rgb(255, 250, 200), rgb(255, 200, 80), double(horizon - y) / sunRadius * 0.2));
    // Reflection: broken streaks under the sun, narrower further down.
    uint32_t state = seed;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    for (int y = horizon + 1; y < c.height; y += 2) {
        double t = double(y - horizon) / (c.height - horizon);
        int half = int(sunRadius * (1.2 - 0.7 * t)) + int(next() % 4);
        for (int x = sunX - half; x <= sunX + half; ++x)
            if (next() % 5 != 0)
                c.blend(x, y, rgb(255, 220, 120), 0.85 - 0.5 * t);
    }
    for (int i = 0; i < stars; ++i) {
        int x = int(next() % c.width), y = int(next() % (horizon / 2));
        c.set(x, y, next() % 3 ? rgb(255, 255, 255) : rgb(255, 255, 170));
    }
}

// A lighthouse standing on (baseX, baseY), `height` pixels tall, red and
// white bands; its light throws two beams to the sides.
void drawLighthouse(Canvas& c, int baseX, int baseY, int height, double beamReach)
{
    const int lanternH = std::max(3, height / 6);
    const int towerTop = baseY - height + lanternH + 2;
    const double bottomHalf = height / 7.0, topHalf = height / 11.0;
    const int band = std::max(2, height / 7);
    // Beams first, so the tower stands in front of them.
    const int ly = baseY - height + 2 + lanternH / 2;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            double dx = x - baseX, dy = y - ly;
            double spread = std::abs(dx) * 0.12 + 1.0;
            if (std::abs(dy + dx * 0.04) < spread && std::abs(dx) < beamReach)
                c.blend(x, y, rgb(255, 255, 190), 0.38 * (1.0 - std::abs(dx) / beamReach));
        }
    for (int y = towerTop; y <= baseY; ++y) {
        double t = double(y - towerTop) / (baseY - towerTop);
        double half = topHalf + (bottomHalf - topHalf) * t;
        bool redBand = ((y - towerTop) / band) % 2 == 0;
        for (int x = int(std::floor(baseX - half)); x <= int(std::ceil(baseX + half)); ++x) {
            bool edge = x == int(std::floor(baseX - half)) || x == int(std::ceil(baseX + half));
            Colour wall = redBand ? rgb(204, 32, 32) : rgb(240, 240, 232);
            if (x > baseX + half * 0.3)
                wall = mix(wall, rgb(40, 20, 60), 0.35);  // the side away from the sun
            c.set(x, y, edge ? rgb(24, 16, 32) : wall);
        }
    }
    // Gallery, lantern and roof.
    int gallery = towerTop - 1, lw = int(topHalf + 1.5);
    for (int x = baseX - lw - 1; x <= baseX + lw + 1; ++x)
        c.set(x, gallery, rgb(24, 16, 32));
    for (int y = gallery - lanternH; y < gallery; ++y)
        for (int x = baseX - lw + 1; x <= baseX + lw - 1; ++x)
            c.set(x, y, (x == baseX - lw + 1 || x == baseX + lw - 1) ? rgb(24, 16, 32) : rgb(255, 250, 170));
    int roofBase = gallery - lanternH - 1;
    for (int r = 0; r <= lw; ++r)
        for (int x = baseX - lw + r; x <= baseX + lw - r; ++x)
            c.set(x, roofBase - r, rgb(120, 24, 24));
}

// Land: a headland rising from the sea on the right, dark against the dawn,
// its top edge lit by the sun.
void drawHeadland(Canvas& c, int fromX, int horizon, int topY, int plateauX)
{
    for (int x = fromX; x < c.width; ++x) {
        double t = std::clamp(double(x - fromX) / std::max(1, plateauX - fromX), 0.0, 1.0);
        double rise = std::sin(t * 3.14159265 / 2);
        int top = int(horizon + 3 - (horizon + 3 - topY) * rise + std::sin(x * 0.7) * 0.8);
        for (int y = top; y < c.height; ++y) {
            Colour rock = mix(rgb(40, 32, 64), rgb(16, 12, 28), double(y - top) / (c.height - top + 1));
            c.set(x, y, y == top ? rgb(200, 120, 80) : rock);
        }
    }
}

// Low hills far off on the left horizon.
void drawFarHills(Canvas& c, int horizon, int width)
{
    for (int x = 0; x < width; ++x) {
        double h = 4 + 3 * std::sin(x * 0.045) + 2 * std::sin(x * 0.13 + 1.0);
        h *= 1.0 - double(x) / width;
        for (int y = horizon - int(h); y < horizon; ++y)
            c.blend(x, y, rgb(88, 48, 96), 0.85);
    }
}

// The toolbar logo: the name over a small dawn, with a lighthouse.
Image logoStrip()
{
    Canvas c(112, 31);
    const int horizon = 24;
    drawDawn(c, horizon, 20, 6.0, 7, 0);
    drawHeadland(c, 92, horizon, 20, 104);
    drawLighthouse(c, 104, 20, 14, 40);
    const Font& font = boldFont();
    int w = textWidth(font, "ORDANE-Lumo");
    int x = (112 - 8 - w) / 2;
    canvasText(c, font, x + 1, 7, "ORDANE-Lumo", rgb(24, 16, 48));
    canvasText(c, font, x, 6, "ORDANE-Lumo", rgb(255, 255, 255));
    Image img = ditherToCube(c);
    // A sunken frame, as the strips around it are drawn.
    for (int x2 = 0; x2 < 112; ++x2) {
        img.set(x2, 0, {102, 102, 102});
        img.set(x2, 30, {255, 255, 255});
    }
    for (int y = 0; y < 31; ++y) {
        img.set(0, y, {102, 102, 102});
        img.set(111, y, {255, 255, 255});
    }
    return img;
}

// The info box picture: the name large, a subtitle, the dawn scene.
Image infoPicture(std::string_view subtitle)
{
    Canvas c(360, 160);
    const int horizon = 112;
    drawDawn(c, horizon, 110, 24.0, 1999, 40);
    drawFarHills(c, horizon, 200);
    drawHeadland(c, 236, horizon, 92, 300);
    drawLighthouse(c, 306, 92, 58, 260);
    const Font& bold = boldFont();
    int w = textWidth(bold, "ORDANE-Lumo", 3);
    int x = (360 - w) / 2 - 30;
    canvasText(c, bold, x + 3, 22, "ORDANE-Lumo", rgb(24, 16, 48), 3);
    canvasText(c, bold, x, 19, "ORDANE-Lumo", rgb(255, 255, 255), 3);
    const Font& small = smallFont();
    int sw = textWidth(small, subtitle, 2);
    int sx = x + (w - sw) / 2;
    canvasText(c, small, sx + 2, 54, subtitle, rgb(24, 16, 48), 2);
    canvasText(c, small, sx, 52, subtitle, rgb(255, 240, 180), 2);
    return ditherToCube(c);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR\n");
        return 1;
    }
    const std::string dir = std::string(argv[1]) + "/";
    try {
        writeBmp(dir + "calendar1.bmp", calendarButton('1', red, maroon), 4);
        writeBmp(dir + "calendar2.bmp", calendarButton('2', lime, green), 4);
        writeBmp(dir + "calendar3.bmp", calendarButton('3', aqua, teal), 4);
        writeBmp(dir + "calendar4.bmp", calendarButton('4', yellow, olive), 4);
        writeBmp(dir + "clock.bmp", clockButton(), 4);
        writeBmp(dir + "alarm.bmp", bellButton(), 4);
        writeBmp(dir + "calendar_entry.bmp", calendarEntryButton(), 4);
        writeBmp(dir + "calendar_search.bmp", calendarSearchButton(), 4);
        writeBmp(dir + "address_field.bmp", addressFieldButton(), 4);
        writeBmp(dir + "toolbar_pattern.bmp", toolbarPattern(), 8);
        writeBmp(dir + "logo.bmp", logoStrip(), 8);
        writeBmp(dir + "info_en.bmp", infoPicture("Address book"), 8);
        writeBmp(dir + "info_de.bmp", infoPicture("Adressbuch"), 8);

        Image up(32, 15, silver);
        Mask upMask = arrowUpMask(up);
        Mask circleMask = circleUpMask(up);
        writeBmp(dir + "search_up.bmp", searchArrow(upMask), 4);
        writeBmp(dir + "search_down.bmp", searchArrow(flipVertical(upMask)), 4);
        writeBmp(dir + "search_up_wrap.bmp", searchArrow(circleMask), 4);
        writeBmp(dir + "search_down_wrap.bmp", searchArrow(flipVertical(circleMask)), 4);

        Image large = largeIcon(), small = smallIcon();
        writeIconFile(dir + "lumo.ico", {{&large, 0, 0}, {&small, 0, 0}}, false);
        writeIconFile(dir + "lumo_small.ico", {{&small, 0, 0}}, false);
        Image hand = handCursor(), move = moveCursor();
        writeIconFile(dir + "hand.cur", {{&hand, 5, 0}}, true);
        writeIconFile(dir + "move.cur", {{&move, 11, 11}}, true);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}

// Writes the flag bitmaps FLG_<code>.bmp (4 bits per pixel, the 16-colour system palette).
// Usage: mkflags <raster folder> <output folder>, or mkflags --codes to list the codes.
// The raster folder holds <CODE>.ppm renderings (binary PPM, kScale times the bitmap size)
// of real flag artwork; a code without one is drawn here from a simple design of our own.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kScale = 8;
constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    int r, g, b;
};

// The 16 colours a 4-bit image list draws with, in their palette order.
const Rgb kPalette[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                          {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{220, 20, 40}, kGreen{0, 140, 60},
    kBlue{0, 60, 170}, kYellow{255, 210, 0}, kPurple{110, 40, 140};

const char* const kCodes[] = {
    "AE",  "AF",  "AL",  "AM",  "AR",  "AT",  "AU",  "AZ",  "BA",  "BD",       "BE",  "BG",  "BH",
    "BI",  "BN",  "BO",  "BR",  "BT",  "BW",  "BY",  "BZ",  "CA",  "CD",       "CF",  "CH",  "CL",
    "CM",  "CN",  "CO",  "CR",  "CU",  "CZ",  "DE",  "DJ",  "DK",  "DO",       "DZ",  "EC",  "EE",
    "EG",  "ES",  "ET",  "FI",  "FJ",  "FO",  "FR",  "GB",  "GE",  "GH",       "GL",  "GR",  "GT",
    "HK",  "HN",  "HR",  "HU",  "ID",  "IE",  "IL",  "IN",  "IQ",  "IR",       "IS",  "IT",  "JM",
    "JO",  "JP",  "KE",  "KG",  "KH",  "KR",  "KW",  "KZ",  "LA",  "LB",       "LI",  "LK",  "LS",
    "LT",  "LU",  "LV",  "LY",  "MA",  "MC",  "MD",  "MG",  "MK",  "MM",       "MN",  "MO",  "MT",
    "MV",  "MX",  "MY",  "NE",  "NG",  "NI",  "NL",  "NO",  "NP",  "NR",       "NZ",  "OM",  "PA",
    "PE",  "PG",  "PH",  "PK",  "PL",  "PR",  "PT",  "PY",  "QA",  "RO",       "RU",  "RW",  "SA",
    "SE",  "SG",  "SI",  "SK",  "SN",  "SO",  "SR",  "SV",  "SY",  "SZ",       "TH",  "TJ",  "TM",
    "TN",  "TO",  "TR",  "TT",  "TV",  "TW",  "TZ",  "UA",  "US",  "UY",       "UZ",  "VA",  "VE",
    "VN",  "VU",  "WS",  "YE",  "YU",  "ZA",  "ZW",  "ABK", "BAK", "BOD",      "BRE", "CAT", "COR",
    "COS", "CYM", "EPO", "EUS", "GDH", "KAS", "KUR", "LAP", "MAX", "OCCITANY", "TAT", "TIR", "XAM",
    "XEA", "XGL", "XMW", "XQB", "XUN"};

// An RGB picture at kScale times the bitmap size, in which the own designs are drawn in
// coordinates of the final bitmap (floating point, so shapes keep their proportions).
struct Canvas {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;

    Canvas(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), kWhite) {}

    // Calls paint for every fine pixel whose centre (in bitmap units) satisfies inside.
    void Fill(const Rgb& colour, const std::function<bool(double, double)>& inside) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                double u = (x + 0.5) / kScale, v = (y + 0.5) / kScale;
                if (inside(u, v))
                    pixels[static_cast<std::size_t>(y * width + x)] = colour;
            }
        }
    }
    void Rect(const Rgb& c, double x0, double y0, double x1, double y1) {
        Fill(c, [=](double u, double v) { return u >= x0 && u < x1 && v >= y0 && v < y1; });
    }
    void Circle(const Rgb& c, double cx, double cy, double r) {
        Fill(c, [=](double u, double v) {
            return (u - cx) * (u - cx) + (v - cy) * (v - cy) <= r * r;
        });
    }
    void Polygon(const Rgb& c, const std::vector<std::pair<double, double>>& pts) {
        Fill(c, [&](double u, double v) {
            bool in = false;
            for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                double xi = pts[i].first, yi = pts[i].second;
                double xj = pts[j].first, yj = pts[j].second;
                if ((yi > v) != (yj > v) && u < (xj - xi) * (v - yi) / (yj - yi) + xi)
                    in = !in;
            }
            return in;
        });
    }
    void Line(const Rgb& c, double x0, double y0, double x1, double y1, double width) {
        double dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
        double nx = -dy / len * width / 2, ny = dx / len * width / 2;
        Polygon(c,
                {{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}});
    }
    void Star(const Rgb& c, double cx, double cy, double r, int points = 5) {
        std::vector<std::pair<double, double>> pts;
        for (int i = 0; i < points * 2; ++i) {
            double a = -kPi / 2 + i * kPi / points;
            double rr = i % 2 == 0 ? r : r * 0.4;
            pts.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
        }
        Polygon(c, pts);
    }
    // Horizontal stripes of equal height, top to bottom.
    void Stripes(const std::vector<Rgb>& colours, double w, double h) {
        for (std::size_t i = 0; i < colours.size(); ++i) {
            Rect(colours[i], 0, h * i / colours.size(), w, h * (i + 1) / colours.size());
        }
    }
};

// Own designs for the codes that have no artwork to render: former states, languages and
// regions. w and h are the bitmap size.
void DrawOwnDesign(const std::string& code, Canvas& k, double w, double h) {
    if (code == "YU") {  // Yugoslavia: blue, white, red with a red star rimmed in yellow.
        k.Stripes({kBlue, kWhite, kRed}, w, h);
        k.Star(kYellow, w / 2, h / 2, 5.2);
        k.Star(kRed, w / 2, h / 2, 4.0);
    } else if (code == "ABK") {  // Abkhazia: green and white stripes, red canton, open hand.
        k.Stripes({kGreen, kWhite, kGreen, kWhite, kGreen, kWhite, kGreen}, w, h);
        k.Rect(kRed, 0, 0, w * 0.42, h * 3 / 7);
        k.Rect(kWhite, w * 0.16, h * 0.12, w * 0.27, h * 0.34);
    } else if (code == "BAK") {  // Bashkortostan: blue, white, green with a yellow flower.
        k.Stripes({kBlue, kWhite, kGreen}, w, h);
        k.Circle(kYellow, w / 2, h / 2, 2.4);
    } else if (code == "BOD") {  // Tibet: red and blue rays, a yellow sun over a white peak.
        k.Rect({170, 0, 0}, 0, 0, w, h);
        for (int i = 0; i < 12; i += 2) {
            double a0 = kPi + i * kPi / 12, a1 = kPi + (i + 1) * kPi / 12;
            k.Polygon(kBlue, {{w / 2, h * 0.55},
                              {w / 2 + 40 * std::cos(a0), h * 0.55 + 40 * std::sin(a0)},
                              {w / 2 + 40 * std::cos(a1), h * 0.55 + 40 * std::sin(a1)}});
        }
        k.Circle(kYellow, w / 2, h * 0.45, 2.6);
        k.Polygon(kWhite, {{w * 0.15, h}, {w / 2, h * 0.55}, {w * 0.85, h}});
        k.Rect(kYellow, 0, h - 1, w, h);
        k.Rect(kYellow, w - 1, 0, w, h);
        k.Rect(kYellow, 0, 0, 1, h);
    } else if (code == "BRE") {  // Brittany: black and white stripes, ermine canton.
        k.Stripes({kBlack, kWhite, kBlack, kWhite, kBlack, kWhite, kBlack, kWhite, kBlack}, w, h);
        k.Rect(kWhite, 0, 0, w * 0.45, h * 5 / 9);
        for (double x : {2.5, 5.5, 8.5}) {
            for (double y : {2.0, 5.5})
                k.Rect(kBlack, x, y, x + 1.2, y + 1.6);
        }
    } else if (code == "COR") {  // Cornwall: a white cross on black.
        k.Rect(kBlack, 0, 0, w, h);
        k.Rect(kWhite, w * 0.40, 0, w * 0.60, h);
        k.Rect(kWhite, 0, h * 0.38, w, h * 0.62);
    } else if (code == "COS") {  // Corsica: a black head with a white headband on white.
        k.Circle(kBlack, w / 2, h * 0.48, 4.3);
        k.Rect(kBlack, w / 2 - 2.2, h * 0.6, w / 2 + 2.6, h);
        k.Rect(kWhite, w / 2 - 4.6, h * 0.30, w / 2 + 4.6, h * 0.44);
        k.Polygon(kWhite,
                  {{w / 2 + 4.2, h * 0.36}, {w / 2 + 7.5, h * 0.20}, {w / 2 + 7.0, h * 0.52}});
    } else if (code == "EPO") {  // Esperanto: green with a green star in a white canton.
        k.Rect(kGreen, 0, 0, w, h);
        k.Rect(kWhite, 0, 0, w * 0.42, h / 2);
        k.Star(kGreen, w * 0.21, h * 0.27, 3.9);
    } else if (code == "KAS") {  // Kashmir: red with three white stripes and a plough.
        k.Rect(kRed, 0, 0, w, h);
        for (int i = 0; i < 3; ++i)
            k.Rect(kWhite, 1.5 + i * 2.2, 0, 2.7 + i * 2.2, h);
        k.Line(kWhite, w * 0.50, h * 0.30, w * 0.80, h * 0.70, 1.6);
        k.Line(kWhite, w * 0.60, h * 0.70, w * 0.92, h * 0.70, 1.6);
    } else if (code == "KUR") {  // Kurdistan: red, white, green with a yellow sun.
        k.Stripes({kRed, kWhite, kGreen}, w, h);
        k.Star(kYellow, w / 2, h / 2, 4.2, 11);
        k.Circle(kYellow, w / 2, h / 2, 2.4);
    } else if (code == "LAP") {  // Sami: red and blue fields, green and yellow stripes, ring.
        k.Rect(kRed, 0, 0, w * 0.40, h);
        k.Rect(kGreen, w * 0.40, 0, w * 0.47, h);
        k.Rect(kYellow, w * 0.47, 0, w * 0.54, h);
        k.Rect(kBlue, w * 0.54, 0, w, h);
        double cx = w * 0.47, cy = h / 2;
        k.Fill(kBlue, [=](double u, double v) {
            double d = std::hypot(u - cx, v - cy);
            return u < w * 0.40 && d <= 5.2 && d >= 3.6;
        });
        k.Fill(kRed, [=](double u, double v) {
            double d = std::hypot(u - cx, v - cy);
            return u >= w * 0.54 && d <= 5.2 && d >= 3.6;
        });
    } else if (code == "MAX") {  // Maori: black over red, a white band and koru.
        k.Rect(kBlack, 0, 0, w, h / 2);
        k.Rect(kRed, 0, h / 2, w, h);
        k.Rect(kWhite, 0, h / 2 - 0.8, w, h / 2 + 0.8);
        k.Fill(kWhite, [=](double u, double v) {
            double d = std::hypot(u - w * 0.40, v - h / 2);
            return d <= 4.6 && d >= 3.2 && !(u > w * 0.40 && v < h / 2);
        });
    } else if (code == "OCCITANY") {  // Occitania: a yellow cross with pommels on red.
        k.Rect(kRed, 0, 0, w, h);
        k.Rect(kYellow, w / 2 - 1, h * 0.12, w / 2 + 1, h * 0.88);
        k.Rect(kYellow, w / 2 - 6, h / 2 - 1, w / 2 + 6, h / 2 + 1);
        for (auto p : std::vector<std::pair<double, double>>{
                 {w / 2, h * 0.12}, {w / 2, h * 0.88}, {w / 2 - 6, h / 2}, {w / 2 + 6, h / 2}}) {
            k.Circle(kYellow, p.first, p.second, 1.4);
        }
    } else if (code == "TAT") {  // Tatarstan: green, a thin white band, red.
        k.Rect(kGreen, 0, 0, w, h * 0.47);
        k.Rect(kWhite, 0, h * 0.47, w, h * 0.53);
        k.Rect(kRed, 0, h * 0.53, w, h);
    } else if (code == "TIR") {  // Tigray: red with a yellow star in a yellow ring.
        k.Rect(kRed, 0, 0, w, h);
        k.Circle(kYellow, w / 2, h / 2, 5.2);
        k.Circle(kRed, w / 2, h / 2, 4.3);
        k.Star(kYellow, w / 2, h / 2, 4.0);
    } else if (code == "XAM") {  // Amazigh: blue, green and yellow with a red yaz.
        k.Stripes({kBlue, kGreen, kYellow}, w, h);
        k.Rect(kRed, w / 2 - 0.9, h * 0.12, w / 2 + 0.9, h * 0.88);
        k.Line(kRed, w / 2 - 3.5, h * 0.15, w / 2, h * 0.38, 1.4);
        k.Line(kRed, w / 2 + 3.5, h * 0.15, w / 2, h * 0.38, 1.4);
        k.Line(kRed, w / 2 - 3.5, h * 0.85, w / 2, h * 0.62, 1.4);
        k.Line(kRed, w / 2 + 3.5, h * 0.85, w / 2, h * 0.62, 1.4);
    } else if (code == "XEA") {  // Alsace: red over white.
        k.Stripes({kRed, kWhite}, w, h);
    } else if (code == "XMW") {  // Mohawk (Hiawatha belt): white squares and tree on purple.
        k.Rect(kPurple, 0, 0, w, h);
        k.Rect(kWhite, 0, h / 2 - 0.6, w, h / 2 + 0.6);
        for (double x : {2.0, 6.5, 14.0, 18.5}) {
            k.Rect(kWhite, x, h / 2 - 2.5, x + 2.5, h / 2 + 2.5);
            k.Rect(kPurple, x + 0.8, h / 2 - 1.7, x + 1.7, h / 2 + 1.7);
        }
        k.Polygon(kWhite, {{w / 2, h * 0.15}, {w / 2 - 2.5, h * 0.65}, {w / 2 + 2.5, h * 0.65}});
        k.Rect(kWhite, w / 2 - 0.6, h * 0.6, w / 2 + 0.6, h * 0.85);
    } else if (code == "XQB") {  // Quebec: a white cross and fleurs-de-lis on blue.
        k.Rect(kBlue, 0, 0, w, h);
        k.Rect(kWhite, w / 2 - 1.2, 0, w / 2 + 1.2, h);
        k.Rect(kWhite, 0, h / 2 - 1.2, w, h / 2 + 1.2);
        for (double x : {w / 4, w * 3 / 4}) {
            for (double y : {h / 4, h * 3 / 4}) {
                k.Polygon(kWhite, {{x, y - 2}, {x - 1.8, y + 1.2}, {x + 1.8, y + 1.2}});
            }
        }
    } else {
        std::fprintf(stderr, "mkflags: no artwork and no design for %s\n", code.c_str());
        k.Rect(kPalette[8], 0, 0, w, h);
    }
}

bool ReadPpm(const std::string& path, Canvas& canvas) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    int w = 0, h = 0, max = 0;
    bool ok = std::fscanf(f, "P6 %d %d %d", &w, &h, &max) == 3 && std::fgetc(f) != EOF &&
              w == canvas.width && h == canvas.height && max == 255;
    for (std::size_t i = 0; ok && i < canvas.pixels.size(); ++i) {
        unsigned char px[3];
        ok = std::fread(px, 1, 3, f) == 3;
        canvas.pixels[i] = {px[0], px[1], px[2]};
    }
    std::fclose(f);
    if (!ok)
        std::fprintf(stderr, "mkflags: %s is not a %dx%d PPM\n", path.c_str(), canvas.width,
                     canvas.height);
    return ok;
}

// The palette colour a flag colour is drawn with: greys by brightness, other colours by
// hue first and then by brightness, so that a flag's hues survive the 16 colours.
int Nearest(const Rgb& c) {
    const double r = c.r / 255.0, g = c.g / 255.0, b = c.b / 255.0;
    const double max = std::max(r, std::max(g, b)), min = std::min(r, std::min(g, b));
    const double value = max, saturation = max > 0 ? (max - min) / max : 0;
    if (saturation < 0.3 || max - min < 0.15) {
        if (value < 0.3)
            return 0;  // black
        if (value < 0.62)
            return 8;  // grey
        if (value < 0.86)
            return 7;  // silver
        return 15;     // white
    }
    double hue;
    if (max == r) {
        hue = 60 * std::fmod((g - b) / (max - min) + 6, 6.0);
    } else if (max == g) {
        hue = 60 * ((b - r) / (max - min) + 2);
    } else {
        hue = 60 * ((r - g) / (max - min) + 4);
    }
    const bool bright = value >= 0.65;
    if (hue < 22 || hue >= 335)
        return bright ? 9 : 1;  // red, maroon
    if (hue < 75)
        return bright ? 11 : 3;  // yellow (and orange), olive
    if (hue < 172)
        return value > 0.9 && saturation > 0.9 ? 10 : 2;  // lime, green
    if (hue < 230 && bright && (hue < 195 || saturation < 0.75))
        return 14;  // aqua
    if (hue < 195)
        return 6;  // teal
    if (hue < 260)
        return value >= 0.72 ? 12 : 4;  // blue, navy
    return bright ? 13 : 5;             // fuchsia, purple
}

// Each bitmap pixel takes the palette colour that most of its fine pixels have, which
// keeps edges sharp instead of blending neighbouring colours into a third one.
std::vector<int> Reduce(const Canvas& canvas, int w, int h) {
    std::vector<int> out(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int votes[16] = {};
            for (int dy = 0; dy < kScale; ++dy) {
                for (int dx = 0; dx < kScale; ++dx) {
                    ++votes[Nearest(canvas.pixels[static_cast<std::size_t>(
                        (y * kScale + dy) * canvas.width + x * kScale + dx)])];
                }
            }
            int best = 0;
            for (int i = 1; i < 16; ++i) {
                if (votes[i] > votes[best])
                    best = i;
            }
            out[static_cast<std::size_t>(y * w + x)] = best;
        }
    }
    return out;
}

void Put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xff);
    s += static_cast<char>((v >> 8) & 0xff);
}

void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xffff);
    Put16(s, v >> 16);
}

// A 4-bit uncompressed bottom-up BMP with the 16-colour palette.
std::string EncodeBmp(const std::vector<int>& indexes, int w, int h) {
    const std::uint32_t rowBytes = static_cast<std::uint32_t>((w * 4 + 31) / 32 * 4);
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(h);
    std::string s = "BM";
    Put32(s, offset + imageSize);
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, 40);
    Put32(s, static_cast<std::uint32_t>(w));
    Put32(s, static_cast<std::uint32_t>(h));
    Put16(s, 1);
    Put16(s, 4);
    Put32(s, 0);
    Put32(s, imageSize);
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, 16);
    Put32(s, 0);
    for (const Rgb& c : kPalette) {
        s += static_cast<char>(c.b);
        s += static_cast<char>(c.g);
        s += static_cast<char>(c.r);
        s += '\0';
    }
    for (int y = h - 1; y >= 0; --y) {
        std::string row(rowBytes, '\0');
        for (int x = 0; x < w; ++x) {
            int v = indexes[static_cast<std::size_t>(y * w + x)];
            row[static_cast<std::size_t>(x / 2)] |= static_cast<char>(x % 2 == 0 ? v << 4 : v);
        }
        s += row;
    }
    return s;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--codes") {
        for (const char* code : kCodes)
            std::printf("%s\n", code);
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkflags --codes | <raster folder> <output folder>\n");
        return 2;
    }
    const std::string rasters = std::string(argv[1]) + "/";
    const std::string output = std::string(argv[2]) + "/";
    int own = 0;
    for (const char* code : kCodes) {
        const std::string name = std::string("FLG_") + code;
        // Two flags keep a larger size of their own; the image list takes their top left.
        const bool large = name == "FLG_CM" || name == "FLG_SR";
        const int w = large ? 25 : 23, h = large ? 17 : 15;
        Canvas canvas(w * kScale, h * kScale);
        if (!ReadPpm(rasters + code + ".ppm", canvas)) {
            DrawOwnDesign(code, canvas, w, h);
            ++own;
        }
        if (!WriteFile(output + name + ".bmp", EncodeBmp(Reduce(canvas, w, h), w, h))) {
            std::fprintf(stderr, "mkflags: cannot write %s.bmp\n", name.c_str());
            return 1;
        }
    }
    std::printf("mkflags: %zu flags, %d of own design\n", sizeof kCodes / sizeof kCodes[0], own);
    return 0;
}

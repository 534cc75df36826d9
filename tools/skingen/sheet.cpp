#include "sheet.h"

#include "art.h"
#include "catalog.h"
#include "palette.h"

#include <QFont>
#include <QMap>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace skingen {

using namespace colour;

namespace {

class Images {
public:
    Images()
    {
        for (const Asset& a : SkinAssets())
            map_[a.path.mid(6).section('.', 0, 0)] = a.draw();   // "skins/x/y.png" -> "x/y"
        for (const Resource& r : ProgramResources())
            map_[r.alias] = r.draw();
    }
    const QImage& operator[](const QString& key) const
    {
        auto it = map_.constFind(key);
        Q_ASSERT(it != map_.constEnd());
        return *it;
    }

private:
    QMap<QString, QImage> map_;
};

// Draws in the unscaled design space of a window, the way the program does: every rectangle is
// scaled by s and truncated, images are stretched with nearest-neighbour sampling.
class Mock {
public:
    Mock(QPainter& p, QPoint origin, double s) : p_(p), origin_(origin), s_(s) {}

    QRect R(int x, int y, int w, int h) const
    {
        const int l = static_cast<int>(x * s_), t = static_cast<int>(y * s_);
        const int r = static_cast<int>((x + w) * s_), b = static_cast<int>((y + h) * s_);
        return QRect(origin_.x() + l, origin_.y() + t, r - l, b - t);
    }
    void Image(const QImage& img, int x, int y, int w, int h) { p_.drawImage(R(x, y, w, h), img); }
    void Image(const QImage& img, int x, int y) { Image(img, x, y, img.width(), img.height()); }
    void Part(const QImage& img, const QRect& dst, const QRect& src) { p_.drawImage(dst, img, src); }
    void Fill(int x, int y, int w, int h, const QColor& c) { p_.fillRect(R(x, y, w, h), c); }
    void Text(int x, int y, int w, int h, const QString& t, const QColor& c, int px = 12,
              int align = Qt::AlignCenter, int weight = QFont::DemiBold)
    {
        QFont f("DejaVu Sans");
        f.setPixelSize(std::max(1, static_cast<int>(px * s_)));
        f.setWeight(QFont::Weight(weight));
        p_.setFont(f);
        p_.setPen(c);
        p_.drawText(R(x, y, w, h), align | Qt::AlignVCenter, t);
    }
    double Scale() const { return s_; }

private:
    QPainter& p_;
    QPoint origin_;
    double s_;
};

void Battery(Mock& m, const Images& im, int level)
{
    const double s = m.Scale();
    const QRect rect = m.R(80, 433, 30, 61);
    const QImage& full = im["battery_full"];
    m.Part(im["battery_empty"], rect, full.rect());
    const int h = std::max(1, level * 50 / 100);
    int f = rect.top() + static_cast<int>((7 + 50 - h) * s);
    const int bottom = rect.bottom() + 1;
    if (s > 1 && (bottom - f) % 2 != 0)
        f -= 1;
    const int r = full.height() - static_cast<int>((bottom - f) / s);
    m.Part(full, QRect(rect.left(), f, static_cast<int>(full.width() * s),
                       static_cast<int>((full.height() - r) * s)),
           QRect(0, r, full.width(), full.height() - r));
}

void Gauge(Mock& m, const Images& im, int k, int value, int count)
{
    const double s = m.Scale();
    const QRect rect = m.R(883 + 36 * k, 75, 7, 132);
    const QImage& back = im["mouse/dpi_bar_1"];
    const QImage& fill = im["mouse/dpi_bar_2"];
    const int bottom = rect.bottom() + 1;
    int f = bottom - (rect.height() * (value + 1)) / count;
    if (s > 1 && (bottom - f) % 2 != 0)
        f -= 1;
    const int r = back.height() - static_cast<int>((bottom - f) / s);
    m.Part(back, QRect(rect.left(), rect.top(), int(back.width() * s), int(back.height() * s)), back.rect());
    m.Part(fill, QRect(rect.left(), f, int(fill.width() * s), int((fill.height() - r) * s)),
           QRect(0, r, fill.width(), fill.height() - r));
}

// The main window in its start-up state, with one combo hovered so its number shows on the mouse.
void MainWindow(QPainter& p, QPoint origin, double s, const Images& im)
{
    Mock m(p, origin, s);
    m.Image(im["bitmap/364"], 0, 0, 1127, 740);
    const QImage& frame = im["Frame_Lighting_Setting"];
    for (const QRect& r : {QRect(36, 62, 230, 205), QRect(36, 311, 230, 43), QRect(36, 423, 230, 82),
                           QRect(36, 550, 230, 146), QRect(846, 62, 262, 196), QRect(846, 288, 262, 180)})
        m.Image(frame, r.x(), r.y(), r.width(), r.height());

    m.Image(im["mouse/mouse_nr"], 457, 171, 215, 398);
    Battery(m, im, 70);
    m.Text(115, 480, 40, 18, "70%", Text, 16, Qt::AlignLeft);
    const char* legend[] = {"Full", "Half", "Low"};
    const char* dots[] = {"battery_green", "battery_orange", "battery_red"};
    const int dotY[] = {441, 462, 484};
    for (int i = 0; i < 3; ++i) {
        m.Image(im[dots[i]], 165, dotY[i], 8, 8);
        m.Text(180, dotY[i] - 2, 140, 18, legend[i], Text, 12, Qt::AlignLeft);
    }
    m.Image(im["power_manage_6min"], 81, 550, 140, 84);
    m.Text(36, 640, 230, 18, "6 minutes", Text);
    m.Image(im["check_dn"], 50, 678, 15, 15);
    m.Text(70, 678, 200, 18, "Wake up on motion", Text, 12, Qt::AlignLeft);
    m.Image(im["exit_nr"], 1092, 12, 15, 15);
    m.Image(im["min_ov"], 1072, 12, 15, 15);

    const int ys[] = {82, 112, 141, 170, 199, 228};
    const int cy[] = {81, 111, 140, 169, 198, 227};
    const char* fn[] = {"Left click", "Right click", "Middle click", "Forward", "Back", "DPI +"};
    for (int k = 0; k < 6; ++k) {
        m.Image(im[QString("mouse/serial_number%1").arg(k + 1)], 52, ys[k], 21, 19);
        const bool hover = k == 0;
        m.Image(im[hover ? "combo2_ov" : "combo2_nr"], 82, cy[k], 162, 21);
        m.Text(82, cy[k], 162, 21, fn[k], hover ? White : Text);
    }
    m.Image(im["button1_nr"], 36, 320, 230, 25);
    m.Text(36, 320, 230, 25, "Macro manager", Text);
    const char* tabs[] = {"profile_slot_nr2", "profile_slot_ov", "profile_slot_nr"};
    for (int k = 0; k < 3; ++k) {
        m.Image(im[tabs[k]], 300, 480 + 25 * k, 162, 21);
        m.Text(306, 480 + 25 * k, 156, 21, QString("Profile %1").arg(k + 1), Text, 12, Qt::AlignLeft);
    }
    const int titleY[] = {37, 398, 525};
    const char* titles[] = {"Buttons", "Battery", "Power saving"};
    for (int k = 0; k < 3; ++k) {
        m.Image(im["header2_nr"], 36, titleY[k], 230, 25);
        m.Text(44, titleY[k], 200, 25, titles[k], Text, 12, Qt::AlignLeft);
    }
    const struct { int y; bool open; const char* text; } headers[] = {
        {37, true, "DPI levels"}, {263, true, "Report rate"}, {473, false, "Key debounce"},
        {503, false, "System mouse settings"}};
    for (const auto& h : headers) {
        m.Image(im[h.open ? "header_ov" : "header_nr"], 846, h.y, 262, 25);
        m.Text(854, h.y, 220, 25, h.text, h.open ? White : Text, 12, Qt::AlignLeft);
    }
    m.Image(im["button2_nr"], 1040, 700, 69, 20);
    m.Text(1040, 700, 69, 20, "Reset", Text);
    m.Image(im["button2_ov"], 36, 700, 69, 20);
    m.Text(36, 700, 69, 20, "Profiles", White);
    m.Text(150, 702, 210, 18, "Version:1.1.3", Text, 12, Qt::AlignLeft);

    const int dpi[] = {400, 800, 1600, 3200, 6400, 12000};
    for (int k = 0; k < 6; ++k) {
        m.Image(im[k < 4 ? "check_button_dpi_dn" : k == 4 ? "check_button_dpi_ov" : "check_button_dpi_nr"],
                881 + 36 * k, 226, 11, 11);
        Gauge(m, im, k, (k + 1) * 7, 48);
        m.Image(im["dpi_value"], 874 + 36 * k, 212, 26, 11);
        m.Text(874 + 36 * k, 212, 26, 11, QString::number(dpi[k]), k == 1 ? Rgb(0xFF0000) : Text, 11,
               Qt::AlignHCenter, QFont::Normal);
    }
    const int X = 846, Y = 288;
    m.Image(im["125hz_nr"], X + 59, Y + 20, 72, 72);
    m.Image(im["1000hz_dn"], X + 131, Y + 20, 72, 72);
    m.Image(im["250hz_dn"], X + 59, Y + 92, 72, 72);    // hovered
    m.Image(im["500hz_nr"], X + 131, Y + 92, 72, 72);
    m.Text(X + 88, Y + 83, 85, 18, "1000Hz", Text);

    // Hovering combo 2013 shows number 1 on the mouse.
    m.Image(im["mouse/number1"], 495, 231);
}

void MacroManager(QPainter& p, QPoint origin, const Images& im)
{
    Mock m(p, origin, 1);
    m.Image(im["Frame_Macro_Manager"], 0, 0);
    m.Text(10, 3, 200, 21, "Macro manager", White, 12, Qt::AlignLeft);
    m.Image(im["exit_ov"], 505, 3, 15, 15);
    m.Fill(24, 53, 145, 271, Rgb(0x949494));
    m.Fill(189, 53, 145, 271, Rgb(0x949494));
    m.Fill(25, 54, 143, 269, List);
    m.Fill(190, 54, 143, 269, List);
    m.Text(24, 35, 100, 17, "Macros", Text, 12, Qt::AlignLeft);
    m.Text(189, 35, 100, 17, "Actions", Text, 12, Qt::AlignLeft);
    // Tree rows.
    m.Image(im["foldr_open"], 27, 55);
    m.Text(46, 54, 120, 20, "Games", White, 12, Qt::AlignLeft);
    m.Fill(27, 74, 139, 20, Accent);
    m.Text(46, 74, 120, 20, "Combo 1", White, 12, Qt::AlignLeft);
    m.Image(im["foldr_close"], 27, 95);
    m.Text(46, 94, 120, 20, "Work", White, 12, Qt::AlignLeft);
    // Action rows.
    const char* icons[] = {"macro_down", "macro_time", "macro_up", "macro_time"};
    const char* texts[] = {"A", "50 ms", "A", "100 ms"};
    for (int i = 0; i < 4; ++i) {
        if (i == 1)
            m.Fill(207, 54 + 20 * i, 124, 20, Accent);
        m.Image(im[icons[i]], 192, 54 + 20 * i + 3);
        m.Text(209, 54 + 20 * i, 120, 20, texts[i], White, 12, Qt::AlignLeft);
    }
    // Scroll bars, the second with its down arrow hovered.
    for (int k = 0; k < 2; ++k) {
        const int x = k == 0 ? 169 : 334;
        m.Fill(x, 53, 18, 271, Rgb(0x101010));
        m.Part(im["png/188"], m.R(x, 53, 18, 18), QRect(0, 0, 18, 18));
        m.Part(im["png/187"], m.R(x, 306, 18, 18), QRect(k == 1 ? 18 : 0, 0, 18, 18));
        m.Fill(x, 75, 18, 90, k == 1 ? Accent : Rgb(0x1F1F1F));
        m.Fill(x + 1, 76, 16, 88, k == 1 ? Rgb(0x1F1F1F) : Rgb(0x323232));
    }
    m.Image(im["macro_record_dn"], 370, 53, 90, 18);
    m.Text(370, 53, 90, 18, "Stop", Rgb(0xFFFF00));
    m.Image(im["check_dn"], 370, 86, 11, 11);
    m.Text(390, 84, 130, 18, "Record delays", Text, 12, Qt::AlignLeft);
    const char* loops[] = {"Once", "While held", "Repeat"};
    for (int i = 0; i < 3; ++i) {
        m.Image(im[i == 0 ? "radio_dn" : i == 1 ? "radio_ov" : "radio_nr"], 368, 113 + 28 * i, 15, 15);
        m.Text(390, 113 + 28 * i, 130, 17, loops[i], Text, 12, Qt::AlignLeft);
    }
    m.Fill(392, 190, 78, 20, Rgb(0x141414));
    m.Text(392, 190, 78, 20, "1", Text);
    m.Text(370, 230, 100, 17, "Insert", Text, 12, Qt::AlignLeft);
    m.Image(im["combo3_nr"], 370, 250, 117, 14);
    m.Text(370, 250, 117, 14, "Delay", Text, 11);
    const int bx[] = {24, 104, 189, 269, 367, 444};
    const char* bt[] = {"New", "Delete", "Modify", "Delete", "OK", "Cancel"};
    for (int i = 0; i < 6; ++i) {
        m.Image(im[i == 4 ? "button2_ov" : "button2_nr"], bx[i], 333, 65, 23);
        m.Text(bx[i], 333, 65, 23, bt[i], i == 4 ? White : Text);
    }
}

void Attention(QPainter& p, QPoint origin, const Images& im)
{
    Mock m(p, origin, 1);
    m.Image(im["Frame_warning"], 0, 0);
    m.Image(im["exit_nr"], 300, 4, 15, 15);
    m.Text(0, 40, 319, 20, "At least one button must keep the left click.", Text);
    m.Image(im["button2_nr"], 240, 70, 69, 20);
    m.Text(240, 70, 69, 20, "OK", Text);
}

void Progress(QPainter& p, QPoint origin, const Images& im)
{
    Mock m(p, origin, 1);
    m.Image(im["Frame_progress_nr"], 0, 0);
    const int w = 60 * 429 / 100;
    m.Part(im["Frame_progress_ov"], m.R(0, 66, w, 12), QRect(0, 66, w, 12));
    m.Text(10, 3, 154, 20, "Writing settings", Rgb(0xBEBEBE), 14, Qt::AlignLeft);
}

void Reset(QPainter& p, QPoint origin, const Images& im)
{
    Mock m(p, origin, 1);
    m.Image(im["Frame_common"], 0, 0);
    m.Image(im["exit_ov"], 405, 4, 15, 15);
    m.Text(0, 60, 429, 48, "Restore the mouse to its factory settings?", Text);
    m.Image(im["button2_ov"], 260, 110, 69, 20);
    m.Text(260, 110, 69, 20, "Confirm", Rgb(0xFFFF00));
    m.Image(im["button2_nr"], 350, 110, 69, 20);
    m.Text(350, 110, 69, 20, "Cancel", Text);
}

void FunctionList(QPainter& p, QPoint origin, const Images& im)
{
    Mock m(p, origin, 1);
    const char* rows[] = {"Left click", "Right click", "Middle click", "-", "DPI", "Multimedia",
                          "-", "Macro", "Disable"};
    int h = 0;
    for (const char* r : rows)
        h += QString(r) == "-" ? 4 : 22;
    m.Image(im["png/151"], 0, 0, 162, h + 1);
    int y = 0;
    for (const char* r : rows) {
        const QString t(r);
        if (t == "-") {
            m.Fill(1, y + 2, 160, 1, Accent);
            y += 4;
            continue;
        }
        const bool sub = t == "DPI" || t == "Multimedia";
        const bool hover = t == "Right click" || t == "Multimedia";
        m.Image(im[QString(sub ? "menusub" : "menu") + (hover ? "_ov" : "_nr")], 1, y, 160, 22);
        m.Text(3, y, 156, 22, t, hover ? White : Text);
        y += 22;
    }
}

void Label(QPainter& p, int x, int y, const QString& text, int px = 13)
{
    QFont f("DejaVu Sans");
    f.setPixelSize(px);
    p.setFont(f);
    p.setPen(Rgb(0xD0D0D0));
    p.drawText(QPoint(x, y), text);
}

} // namespace

QImage ContactSheet()
{
    const Images im;
    const int width = 1860;
    // Lay out the single images first to know the height.
    struct Cell { QString name; QImage img; QRect box; };
    std::vector<Cell> cells;
    for (const Asset& a : SkinAssets())
        cells.push_back({a.path.mid(6), a.draw(), {}});
    // Small images first, so that rows fill evenly.
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return a.img.height() < b.img.height();
    });
    for (const Resource& r : ProgramResources())
        if (r.alias != "bitmap/364")
            cells.push_back({":/" + r.alias, r.draw(), {}});
    // The mouse with every number where the main window puts it (offsets from (457, 171)).
    QImage numbered = im["mouse/mouse_nr"];
    {
        QPainter q(&numbered);
        const struct { int n, x, y; } places[] = {{1, 495, 231}, {2, 608, 231}, {3, 553, 251}, {4, 467, 311},
                                                 {5, 471, 360}, {7, 616, 346}, {8, 487, 284}};
        for (const auto& pl : places)
            q.drawImage(QPoint(pl.x - 457, pl.y - 171), im[QString("mouse/number%1").arg(pl.n)]);
    }
    cells.push_back({"mouse with all numbers", numbered, {}});
    const int gridTop = 40 + 740 + 40 + 1110 + 60;
    int x = 20, y = gridTop, rowH = 0;
    for (Cell& c : cells) {
        // Large images (the window frames) appear at scale 1 only.
        const int factor = c.img.width() > 300 ? 1 : 3;
        const int w = std::max(c.img.width() * factor + 16, 150);
        const int h = c.img.height() * (factor == 1 ? 1 : 2) + 26;
        if (x + w > width - 20) {
            x = 20;
            y += rowH + 14;
            rowH = 0;
        }
        c.box = QRect(x, y, w, h);
        x += w + 14;
        rowH = std::max(rowH, h);
    }
    const int height = y + rowH + 20;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Rgb(0x3A3F44));
    QPainter p(&sheet);
    Label(p, 20, 28, "Main window at scale 1 (start-up state, combo 1 hovered)", 15);
    MainWindow(p, QPoint(20, 40), 1.0, im);
    Label(p, 1170, 28, "Macro manager, dialogs and a function list", 15);
    MacroManager(p, QPoint(1170, 40), im);
    Attention(p, QPoint(1170, 425), im);
    Reset(p, QPoint(1170, 540), im);
    Progress(p, QPoint(1170, 695), im);
    FunctionList(p, QPoint(1640, 420), im);
    Label(p, 20, 40 + 740 + 30, "Main window at scale 1.5 (nearest-neighbour, as the program stretches)", 15);
    MainWindow(p, QPoint(20, 40 + 740 + 40), 1.5, im);

    for (const Cell& c : cells) {
        p.fillRect(c.box, Rgb(0x262626));
        Label(p, c.box.left() + 4, c.box.top() + 16, c.name, 12);
        const QImage& img = c.img;
        p.drawImage(QPoint(c.box.left() + 4, c.box.top() + 22), img);
        if (img.width() <= 300)
            p.drawImage(QRect(c.box.left() + 8 + img.width(), c.box.top() + 22, img.width() * 2,
                              img.height() * 2), img);
    }
    p.end();
    return sheet;
}

} // namespace skingen

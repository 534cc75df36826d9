// The generated skin: every file the program loads, with its name, format and size, state
// images that look different, overlays on the mouse picture, the compiled resources, and a
// generator that writes the same bytes on every run.

#include "resources/init_resources.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Out = QStringLiteral(VEXMO_SKIN_OUT);

// Size rules: exact, or free within a bound (0 = no bound on that side).
enum class Fit { Exact, AtMost };

struct SkinFile {
    const char* path;
    const char* format;
    int width;
    int height;
    Fit fit;
};

// One row per skin file the program loads. Where two windows stretch a file to different
// rectangles (button2: 69 × 20 and 65 × 23, check: 15 × 15 and 11 × 11) it is drawn for the first.
const SkinFile Files[] = {
    {"skins/Frame_common.bmp", "bmp", 429, 140, Fit::Exact},
    {"skins/Frame_warning.bmp", "bmp", 319, 102, Fit::Exact},
    {"skins/Frame_Macro_Manager.bmp", "bmp", 528, 365, Fit::Exact},
    {"skins/Frame_progress_nr.bmp", "bmp", 429, 140, Fit::Exact},
    {"skins/Frame_progress_ov.bmp", "bmp", 429, 140, Fit::Exact},
    {"skins/Frame_Lighting_Setting.bmp", "bmp", 230, 82, Fit::Exact},
    {"skins/exit_nr.png", "png", 15, 15, Fit::Exact},
    {"skins/exit_ov.png", "png", 15, 15, Fit::Exact},
    {"skins/min_nr.png", "png", 15, 15, Fit::Exact},
    {"skins/min_ov.png", "png", 15, 15, Fit::Exact},
    {"skins/button1_nr.png", "png", 230, 25, Fit::Exact},
    {"skins/button1_ov.png", "png", 230, 25, Fit::Exact},
    {"skins/button2_nr.png", "png", 69, 20, Fit::Exact},
    {"skins/button2_ov.png", "png", 69, 20, Fit::Exact},
    {"skins/button4_nr.png", "png", 215, 45, Fit::Exact},
    {"skins/check_nr.png", "png", 15, 15, Fit::Exact},
    {"skins/check_ov.png", "png", 15, 15, Fit::Exact},
    {"skins/check_dn.png", "png", 15, 15, Fit::Exact},
    {"skins/radio_nr.png", "png", 15, 15, Fit::Exact},
    {"skins/radio_ov.png", "png", 15, 15, Fit::Exact},
    {"skins/radio_dn.png", "png", 15, 15, Fit::Exact},
    {"skins/check_button_dpi_nr.png", "png", 11, 11, Fit::Exact},
    {"skins/check_button_dpi_ov.png", "png", 11, 11, Fit::Exact},
    {"skins/check_button_dpi_dn.png", "png", 11, 11, Fit::Exact},
    {"skins/combo2_nr.png", "png", 162, 21, Fit::Exact},
    {"skins/combo2_ov.png", "png", 162, 21, Fit::Exact},
    {"skins/combo3_nr.png", "png", 117, 14, Fit::Exact},
    {"skins/combo3_ov.png", "png", 117, 14, Fit::Exact},
    {"skins/header_nr.png", "png", 262, 25, Fit::Exact},
    {"skins/header_ov.png", "png", 262, 25, Fit::Exact},
    {"skins/header2_nr.png", "png", 230, 25, Fit::Exact},
    {"skins/header2_ov.png", "png", 230, 25, Fit::Exact},
    {"skins/profile_slot_nr.png", "png", 162, 21, Fit::Exact},
    {"skins/profile_slot_ov.png", "png", 162, 21, Fit::Exact},
    {"skins/profile_slot_nr2.png", "png", 162, 21, Fit::Exact},
    {"skins/profile_slot_ov2.png", "png", 162, 21, Fit::Exact},
    {"skins/menu_nr.png", "png", 160, 22, Fit::Exact},
    {"skins/menu_ov.png", "png", 160, 22, Fit::Exact},
    {"skins/menusub_nr.png", "png", 160, 22, Fit::Exact},
    {"skins/menusub_ov.png", "png", 160, 22, Fit::Exact},
    {"skins/battery_full.png", "png", 30, 61, Fit::Exact},
    {"skins/battery_empty.png", "png", 30, 61, Fit::Exact},
    {"skins/battery_charging.png", "png", 30, 61, Fit::Exact},
    {"skins/battery_lighting.png", "png", 30, 61, Fit::Exact},
    {"skins/battery_green.png", "png", 8, 8, Fit::Exact},
    {"skins/battery_orange.png", "png", 8, 8, Fit::Exact},
    {"skins/battery_red.png", "png", 8, 8, Fit::Exact},
    {"skins/power_manage_3min.png", "png", 140, 84, Fit::Exact},
    {"skins/power_manage_4min.png", "png", 140, 84, Fit::Exact},
    {"skins/power_manage_5min.png", "png", 140, 84, Fit::Exact},
    {"skins/power_manage_6min.png", "png", 140, 84, Fit::Exact},
    {"skins/power_manage_7min.png", "png", 140, 84, Fit::Exact},
    {"skins/power_manage_8min.png", "png", 140, 84, Fit::Exact},
    {"skins/power_manage_9min.png", "png", 140, 84, Fit::Exact},
    {"skins/power_manage_10min.png", "png", 140, 84, Fit::Exact},
    {"skins/dpi_value.png", "png", 26, 11, Fit::Exact},
    {"skins/125hz_nr.png", "png", 72, 72, Fit::Exact},
    {"skins/125hz_dn.png", "png", 72, 72, Fit::Exact},
    {"skins/250hz_nr.png", "png", 72, 72, Fit::Exact},
    {"skins/250hz_dn.png", "png", 72, 72, Fit::Exact},
    {"skins/500hz_nr.png", "png", 72, 72, Fit::Exact},
    {"skins/500hz_dn.png", "png", 72, 72, Fit::Exact},
    {"skins/1000hz_nr.png", "png", 72, 72, Fit::Exact},
    {"skins/1000hz_dn.png", "png", 72, 72, Fit::Exact},
    {"skins/Slider_bar.png", "png", 145, 3, Fit::Exact},
    {"skins/Slider_Circle.png", "png", 13, 13, Fit::Exact},
    {"skins/macro_record_nr.png", "png", 90, 18, Fit::Exact},
    {"skins/macro_record_dn.png", "png", 90, 18, Fit::Exact},
    // Tree rows are 20 high and the icon sits one pixel below the row top.
    {"skins/foldr_open.png", "png", 0, 19, Fit::AtMost},
    {"skins/foldr_close.png", "png", 0, 19, Fit::AtMost},
    // Action icons sit in the 15 × 17 left of the row text.
    {"skins/macro_time.png", "png", 15, 17, Fit::AtMost},
    {"skins/macro_up.png", "png", 15, 17, Fit::AtMost},
    {"skins/macro_down.png", "png", 15, 17, Fit::AtMost},
    {"skins/mouse/mouse_nr.png", "png", 215, 398, Fit::Exact},
    {"skins/mouse/serial_number1.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number2.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number3.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number4.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number5.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number6.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number7.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number8.png", "png", 21, 19, Fit::Exact},
    {"skins/mouse/serial_number9.png", "png", 21, 19, Fit::Exact},
    // Overlays are bounded by the mouse picture; overlaysLieOnTheMouse checks where they land.
    {"skins/mouse/number1.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/number2.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/number3.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/number4.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/number5.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/number7.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/number8.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/number9.png", "png", 215, 398, Fit::AtMost},
    {"skins/mouse/dpi_bar_1.png", "png", 7, 132, Fit::Exact},
    {"skins/mouse/dpi_bar_2.png", "png", 7, 132, Fit::Exact},
};

QImage Load(const QString& relative)
{
    return QImage(Out + "/" + relative).convertToFormat(QImage::Format_ARGB32);
}

// Share of the pixels that differ clearly (by more than 40 in a channel, alpha included).
double ChangedShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 0;
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            changed += d > 40 ? 1 : 0;
        }
    return double(changed) / (a.width() * a.height());
}

bool SameOutside(const QImage& a, const QImage& b, const QRect& except)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!except.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSkins : public QObject {
    Q_OBJECT

private slots:
    void filesHaveTheirFormatAndSize_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(Files)); ++i)
            QTest::newRow(Files[i].path) << i;
    }

    void filesHaveTheirFormatAndSize()
    {
        QFETCH(int, row);
        const SkinFile& f = Files[row];
        QImageReader reader(Out + "/" + f.path);
        // The content, not the name, decides the format the program's loader sees.
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), QByteArray(f.format));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        if (f.fit == Fit::Exact) {
            QCOMPARE(image.size(), QSize(f.width, f.height));
        } else {
            QVERIFY(f.width == 0 || image.width() <= f.width);
            QVERIFY(f.height == 0 || image.height() <= f.height);
        }
    }

    // Nothing beyond the list: a misspelt or stray file would mean the program misses one.
    void skinFolderHoldsExactlyTheList()
    {
        QSet<QString> expected;
        for (const SkinFile& f : Files)
            expected.insert(f.path);
        QSet<QString> found;
        QDirIterator it(Out + "/skins", QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.insert(it.next().mid(Out.size() + 1));
        QCOMPARE(found, expected);
    }

    void stateImagesLookDifferent_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        const char* const pairs[][2] = {
            {"exit_nr", "exit_ov"}, {"min_nr", "min_ov"}, {"button1_nr", "button1_ov"},
            {"button2_nr", "button2_ov"}, {"check_nr", "check_ov"}, {"check_ov", "check_dn"},
            {"radio_nr", "radio_ov"}, {"radio_ov", "radio_dn"},
            {"check_button_dpi_nr", "check_button_dpi_ov"}, {"check_button_dpi_ov", "check_button_dpi_dn"},
            {"combo2_nr", "combo2_ov"}, {"combo3_nr", "combo3_ov"}, {"header_nr", "header_ov"},
            {"header2_nr", "header2_ov"}, {"profile_slot_nr", "profile_slot_ov"},
            {"profile_slot_nr", "profile_slot_nr2"}, {"profile_slot_nr2", "profile_slot_ov2"},
            {"menu_nr", "menu_ov"}, {"menusub_nr", "menusub_ov"},
            {"125hz_nr", "125hz_dn"}, {"250hz_nr", "250hz_dn"}, {"500hz_nr", "500hz_dn"},
            {"1000hz_nr", "1000hz_dn"}, {"macro_record_nr", "macro_record_dn"},
            {"foldr_open", "foldr_close"}, {"battery_full", "battery_charging"},
            {"power_manage_3min", "power_manage_4min"}, {"power_manage_9min", "power_manage_10min"},
        };
        for (const auto& p : pairs)
            QTest::newRow(QByteArray(p[0]) + " / " + p[1]) << QString(p[0]) << QString(p[1]);
    }

    void stateImagesLookDifferent()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        const double share = ChangedShare(Load("skins/" + a + ".png"), Load("skins/" + b + ".png"));
        QVERIFY2(share >= 0.04, qPrintable(QString("only %1 % of the pixels change").arg(share * 100)));
    }

    // The program draws a part of one image over another: the parts outside must line up.
    void partialImagesMatchWhatTheyCover()
    {
        // Battery on battery power: the empty image, then rows r .. 60 of the full one, where
        // only the cell rows 7 .. 56 depend on the charge.
        const QImage empty = Load("skins/battery_empty.png");
        for (const char* name : {"skins/battery_full.png", "skins/battery_charging.png"}) {
            const QImage full = Load(name);
            QVERIFY2(SameOutside(empty, full, QRect(4, 7, 22, 50)), name);
            QVERIFY(ChangedShare(empty.copy(4, 7, 22, 50), full.copy(4, 7, 22, 50)) > 0.9);
        }
        // The lightning image goes over a partly filled battery: clear inside the cell except
        // for the bolt, and the same outline.
        const QImage bolt = Load("skins/battery_lighting.png");
        QCOMPARE(qAlpha(bolt.pixel(6, 55)), 0);
        QCOMPARE(bolt.pixel(2, 30), empty.pixel(2, 30));
        QCOMPARE(bolt.pixel(15, 2), empty.pixel(15, 2));
        // Progress: the fill is copied from x 0, so left of the bar it must be the frame itself.
        const QImage frame = Load("skins/Frame_progress_nr.bmp");
        const QImage fill = Load("skins/Frame_progress_ov.bmp");
        QVERIFY(SameOutside(frame, fill, QRect(8, 66, 412, 12)));
        QVERIFY(ChangedShare(frame.copy(8, 66, 412, 12), fill.copy(8, 66, 412, 12)) > 0.9);
        // The gauge fill replaces the bottom rows of its background one for one.
        QCOMPARE(Load("skins/mouse/dpi_bar_1.png").pixel(0, 131), Load("skins/mouse/dpi_bar_2.png").pixel(0, 131));
    }

    // The main window draws number n at a fixed place while combo n is hovered; the picture is
    // at (457, 171), 215 × 398.
    void overlaysLieOnTheMouse()
    {
        const QImage mouse = Load("skins/mouse/mouse_nr.png");
        const struct { int n, x, y; } places[] = {{1, 495, 231}, {2, 608, 231}, {3, 553, 251},
                                                 {4, 467, 311}, {5, 471, 360}, {7, 616, 346},
                                                 {8, 487, 284}, {9, 487, 284}};
        const QRect picture(457, 171, 215, 398);
        for (const auto& p : places) {
            const QImage overlay = Load(QString("skins/mouse/number%1.png").arg(p.n));
            const QRect placed(QPoint(p.x, p.y), overlay.size());
            QVERIFY2(picture.contains(placed), qPrintable(QString::number(p.n)));
            const QPoint centre = placed.center() - picture.topLeft();
            QVERIFY2(qAlpha(mouse.pixel(centre)) == 255, qPrintable(QString::number(p.n)));
        }
        // Distinct numbers look distinct.
        QVERIFY(ChangedShare(Load("skins/mouse/number1.png"), Load("skins/mouse/number2.png")) > 0.02);
        QVERIFY(ChangedShare(Load("skins/mouse/serial_number1.png"), Load("skins/mouse/serial_number7.png")) > 0.02);
    }

    void resourcesAreCompiledIn()
    {
        vexmo::InitResources();
        const QImage popup(":/png/151");
        QVERIFY(!popup.isNull());
        for (const char* strip : {":/png/187", ":/png/188"}) {
            const QImage image(strip);
            QCOMPARE(image.width(), 54);   // three 18-wide frames for the 18-wide scroll bars
            QVERIFY(image.height() > 0);
            QVERIFY(ChangedShare(image.copy(0, 0, 18, image.height()), image.copy(18, 0, 18, image.height())) > 0.04);
        }
        QVERIFY(ChangedShare(QImage(":/png/187"), QImage(":/png/188")) > 0.04);
        QImageReader background(":/bitmap/364");
        QCOMPARE(background.format(), QByteArray("bmp"));
        QCOMPARE(background.size(), QSize(1127, 740));
        const QImage icon(":/icon/128");
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.width(), icon.height());
    }

    // Same bytes on every run: the build never sees a change that is not one.
    void generatorIsDeterministic()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess gen;
        gen.start(QStringLiteral(VEXMO_SKINGEN_BIN), {dir.path()});
        QVERIFY(gen.waitForFinished(30000));
        QCOMPARE(gen.exitCode(), 0);
        int compared = 0;
        QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString fresh = it.next();
            const QString built = Out + fresh.mid(dir.path().size());
            QVERIFY2(Bytes(fresh) == Bytes(built), qPrintable(built));
            ++compared;
        }
        QCOMPARE(compared, int(std::size(Files)) + 6);   // skins, five resources and the .qrc
    }
};

QTEST_GUILESS_MAIN(TestSkins)
#include "test_skins.moc"

// The skinned controls: state machines, notifications, the global choice masks and what each
// draws, checked on the dialog's off-screen picture with small generated images.

#include "app/core/process_values.h"
#include "skin_test_util.h"
#include "ui/battery.h"
#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/image_button.h"
#include "ui/power_manage_button.h"
#include "ui/radio_button.h"
#include "ui/slider_control.h"
#include "ui/static_controls.h"
#include "ui/tab_control.h"
#include "ui/vscroll_bar.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>

using namespace vexmo;
using namespace vexmo::test;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kBackground = ToQColor(0xEFE2BA);

// Presses and releases at one point through the dialog, as the mouse would.
void Click(CDlgBase& dlg, const QPoint& point)
{
    dlg.OnMouseMove(0, point);
    dlg.OnLButtonDown(kMkLButton, point);
    dlg.OnLButtonUp(0, point);
}

// Whether any pixel of the rectangle has exactly this colour.
bool HasColour(const QImage& picture, const UiRect& rect, const QColor& colour)
{
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (PixelAt(picture, x, y) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class TestControls : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString red_, green_, blue_, yellow_;

    QString Solid(const QString& name, int w, int h, QColor colour)
    {
        return WriteSolidImage(dir_, name, w, h, colour);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        red_ = Solid("red.png", 10, 10, kRed);
        green_ = Solid("green.png", 10, 10, kGreen);
        blue_ = Solid("blue.png", 10, 10, kBlue);
        yellow_ = Solid("yellow.png", 10, 10, kYellow);
    }

    void init()
    {
        UiScale = 1.0f;
        RadioGroupMask = kRadioGroupMaskAtStart;
        DPILevelMask = kDpiLevelMaskAtStart;
        BindProfileIndex(nullptr);
        ProfileIndexOfTabs() = 0;
    }

    void checkButtonTogglesAndShowsItsState()
    {
        RecordingDlg dlg;
        auto* check = dlg.AddControl(0, std::make_unique<CCheckButton>(&dlg, 3504, UiRect{10, 10, 60, 30}, "", 0));
        QVERIFY(check->LoadNormalImage(red_));
        QVERIFY(check->LoadHoverImage(green_));
        QVERIFY(check->LoadPressedImage(blue_));
        QVERIFY(!check->LoadStripImage(dir_.filePath("missing.png")));
        QCOMPARE(check->ImageWidth, 10);

        bool checkedAtClick = false;
        dlg.OnMessageNumber(3504, [&](WParam, LParam code) {
            if (code == NotifyClick)
                checkedAtClick = check->Checked;
            return LResult(0);
        });

        auto look = [&] { return PixelAt(dlg.RenderClient(), 10, 10); };
        QCOMPARE(look(), kRed);
        dlg.OnMouseMove(0, {20, 20});
        QCOMPARE(look(), kGreen);
        dlg.OnLButtonDown(kMkLButton, {20, 20});
        QCOMPARE(look(), kBlue);
        dlg.OnLButtonUp(0, {20, 20});
        QVERIFY(check->Checked);
        QVERIFY(checkedAtClick); // toggled before the click is reported
        QCOMPARE(check->FrameIndex(), 2);
        QCOMPARE(look(), kBlue);
        dlg.OnMouseMove(0, {100, 100});
        QCOMPARE(look(), kBlue); // checked, not hovered
        Click(dlg, {20, 20});
        QVERIFY(!check->Checked);
        QCOMPARE(look(), kGreen);
        QCOMPARE(dlg.MessagesNumbered(3504),
                 (std::vector<Message>{{3504, 0, NotifyPress},
                                       {3504, 0, NotifyClick},
                                       {3504, 0, NotifyPress},
                                       {3504, 0, NotifyClick}}));
    }

    void checkButtonFrameIndex_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("frame");
        QTest::newRow("normal") << 0 << false << 0;
        QTest::newRow("normal checked") << 0 << true << 2;
        QTest::newRow("hover") << 1 << false << 1;
        QTest::newRow("hover checked") << 1 << true << 2;
        QTest::newRow("pressed") << 2 << false << 2;
        QTest::newRow("pressed checked") << 2 << true << 2;
    }

    void checkButtonFrameIndex()
    {
        QFETCH(int, state);
        QFETCH(bool, checked);
        QFETCH(int, frame);
        CCheckButton check(nullptr, 1, UiRect{0, 0, 10, 10}, "", 0);
        check.ButtonState = state;
        check.Checked = checked;
        QCOMPARE(check.FrameIndex(), frame);
    }

    void checkButtonTextsAndColours()
    {
        RecordingDlg dlg;
        auto* check =
            dlg.AddControl(0, std::make_unique<CCheckButton>(&dlg, 3001, UiRect{10, 10, 190, 50}, "Title", 1));
        check->LoadNormalImage(Solid("black.png", 4, 4, Qt::black));
        check->LoadHoverImage(Solid("black2.png", 4, 4, Qt::black));
        check->LoadPressedImage(Solid("black3.png", 4, 4, Qt::black));
        check->SetFont(30, QStringLiteral("Tahoma"));
        check->ControlFont.setStyleStrategy(QFont::NoAntialias);

        // Without own texts the title stays in every look.
        dlg.RenderClient();
        check->Checked = true;
        dlg.RenderClient();
        QCOMPARE(check->Title, QStringLiteral("Title"));

        check->SetTexts("Off", "On");
        check->Checked = false;
        QImage picture = dlg.RenderClient();
        QCOMPARE(check->Title, QStringLiteral("Off"));
        QVERIFY(HasColour(picture, check->Rect, ToQColor(kTextGrey)));
        check->Checked = true;
        picture = dlg.RenderClient();
        QCOMPARE(check->Title, QStringLiteral("On"));
        QVERIFY(HasColour(picture, check->Rect, kYellow));

        check->PressedTextColour = kTextWhite; // section headers draw checked text white
        picture = dlg.RenderClient();
        QVERIFY(HasColour(picture, check->Rect, QColor(Qt::white)));
        QVERIFY(!HasColour(picture, check->Rect, kYellow));
    }

    void checkButtonWithoutImagesDrawsNothing()
    {
        RecordingDlg dlg;
        auto* check = dlg.AddControl(0, std::make_unique<CCheckButton>(&dlg, 1, UiRect{10, 10, 190, 50}, "Title", 0));
        check->SetFont(30, QStringLiteral("Tahoma"));
        const QImage picture = dlg.RenderClient();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                QCOMPARE(PixelAt(picture, x, y), kBackground);
        }
    }

    void disabledControlIgnoresTheMouse()
    {
        RecordingDlg dlg;
        auto* check = dlg.AddControl(0, std::make_unique<CCheckButton>(&dlg, 3008, UiRect{10, 10, 60, 30}, "", 0, true,
                                                                       true, true));
        Click(dlg, {20, 20});
        QCOMPARE(check->ButtonState, kStateNormal);
        QVERIFY(!check->Checked);
        QVERIFY(dlg.messages.empty());
    }

    void radioGroupsShareTheMask()
    {
        RecordingDlg dlg;
        std::vector<CRadioButton*> rates;
        for (int k = 0; k < 4; ++k)
            rates.push_back(dlg.AddControl(
                4, std::make_unique<CRadioButton>(&dlg, 3030 + k, UiRect{10 + 40 * k, 10, 40 + 40 * k, 40})));
        auto* lift = dlg.AddControl(5, std::make_unique<CRadioButton>(&dlg, 3510, UiRect{10, 60, 40, 90}));
        auto* loose = dlg.AddControl(5, std::make_unique<CRadioButton>(&dlg, 4000, UiRect{60, 60, 90, 90}));

        // At start the last rate and the second lift-off choice are selected.
        QCOMPARE(rates[3]->FrameIndex(), 2);
        QCOMPARE(rates[1]->FrameIndex(), 0);

        std::uint32_t maskAtClick = 0;
        dlg.OnMessageNumber(3031, [&](WParam, LParam code) {
            if (code == NotifyClick)
                maskAtClick = RadioGroupMask;
            return LResult(0);
        });
        Click(dlg, {60, 20});
        QCOMPARE(RadioGroupMask, std::uint32_t(0x00220000));
        QCOMPARE(maskAtClick, RadioGroupMask);
        QCOMPARE(rates[1]->FrameIndex(), 2);
        QCOMPARE(rates[3]->FrameIndex(), rates[3]->ButtonState);

        // Clicking the selected one keeps it and still reports.
        dlg.Forget();
        Click(dlg, {60, 20});
        QCOMPARE(RadioGroupMask, std::uint32_t(0x00220000));
        QCOMPARE(dlg.MessagesNumbered(3031).back(), (Message{3031, 0, NotifyClick}));

        Click(dlg, {20, 70});
        QCOMPARE(RadioGroupMask, std::uint32_t(0x00120000));
        QCOMPARE(lift->FrameIndex(), 2);

        Click(dlg, {70, 70});
        QCOMPARE(RadioGroupMask, std::uint32_t(0x00120000));
        QCOMPARE(loose->FrameIndex(), kStateHover);
    }

    void radioGroupTable_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<uint>("bit");
        QTest::addColumn<uint>("group");
        QTest::newRow("2031") << 2031u << 0x2000u << 0xE000u;
        QTest::newRow("2033") << 2033u << 0x8000u << 0xE000u;
        QTest::newRow("3030") << 3030u << 0x10000u << 0xF0000u;
        QTest::newRow("3033") << 3033u << 0x80000u << 0xF0000u;
        QTest::newRow("3510") << 3510u << 0x100000u << 0x300000u;
        QTest::newRow("3511") << 3511u << 0x200000u << 0x300000u;
        QTest::newRow("2034 none") << 2034u << 0u << 0u;
        QTest::newRow("3034 none") << 3034u << 0u << 0u;
        QTest::newRow("3512 none") << 3512u << 0u << 0u;
    }

    void radioGroupTable()
    {
        QFETCH(uint, id);
        QFETCH(uint, bit);
        QFETCH(uint, group);
        std::uint32_t gotBit = 0, gotGroup = 0;
        QCOMPARE(RadioGroupBits(id, gotBit, gotGroup), bit != 0);
        QCOMPARE(gotBit, std::uint32_t(bit));
        QCOMPARE(gotGroup, std::uint32_t(group));
    }

    void dpiSelectorLightsItsLevelAndThoseBelow()
    {
        RecordingDlg dlg;
        dlg.resize(400, 100);
        std::vector<CDPIRadioButton*> selectors;
        for (int k = 0; k < 8; ++k) {
            auto* s = dlg.AddControl(1, std::make_unique<CDPIRadioButton>(
                                            &dlg, 3290 + k, UiRect{10 + 36 * k, 10, 36 + 36 * k, 40}));
            s->LoadNormalImage(red_);
            s->LoadHoverImage(green_);
            s->LoadPressedImage(blue_);
            s->DpiNumber = 8 * (k + 1);
            selectors.push_back(s);
        }
        DPILevelMask = 0xAB00 | 0x02;
        Click(dlg, {selectors[3]->Rect.left + 5, 30});
        QCOMPARE(DPILevelMask, std::uint32_t(0xAB0F));
        dlg.OnMouseMove(0, {5, 90}); // away, so no selector is hovered
        const QImage picture = dlg.RenderClient();
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(selectors[k]->FrameIndex(), k <= 3 ? 2 : 0);
            QCOMPARE(PixelAt(picture, selectors[k]->Rect.left + 1, 38), k <= 3 ? kBlue : kRed);
        }
        Click(dlg, {selectors[0]->Rect.left + 5, 30});
        QCOMPARE(DPILevelMask, std::uint32_t(0xAB01));
    }

    void dpiSelectorShowsFourDigitsWhole()
    {
        // The selectors are 26 × 11 design pixels with their number in "Tahoma" 11; the face that
        // stands in for Tahoma must leave "9950" whole, not cut to "99…", at every scale.
        if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans")))
            QSKIP("Liberation Sans is not installed");
        for (float scale : {1.0f, 1.5f, 2.0f}) {
            RecordingDlg dlg;
            auto* selector = dlg.AddControl(1, std::make_unique<CDPIRadioButton>(
                                                   &dlg, 3290, UiRect::Scaled(10, 10, 26, 11, scale)));
            selector->SetFont(ScaledLength(11, scale), QStringLiteral("Tahoma"));
            const QFontMetrics metrics(selector->Font());
            QVERIFY2(metrics.horizontalAdvance(QStringLiteral("9950")) <= selector->Rect.Width(),
                     qPrintable(QFontInfo(selector->Font()).family()));
        }
    }

    void imageButtonClickCarriesTheIdAndHoverReports()
    {
        RecordingDlg dlg;
        auto* about = dlg.AddControl(0, std::make_unique<CImageButton>(&dlg, 3502, UiRect{10, 10, 60, 30}, "About"));
        auto* plain = dlg.AddControl(0, std::make_unique<CImageButton>(&dlg, 2045, UiRect{100, 10, 150, 30}, "OK"));
        about->LoadNormalImage(red_);
        about->LoadHoverImage(green_);

        dlg.OnMouseMove(0, {20, 20});
        dlg.OnMouseMove(0, {21, 20});
        dlg.OnMouseMove(0, {22, 20});
        QCOMPARE(dlg.MessagesNumbered(3502).size(), std::size_t(3));
        QCOMPARE(dlg.MessagesNumbered(3502).front(), (Message{3502, 0, NotifyHover}));
        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 10), kGreen);

        dlg.Forget();
        dlg.OnLButtonDown(kMkLButton, {22, 20});
        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 10), kGreen); // pressed: the second image too
        dlg.OnMouseMove(kMkLButton, {23, 20});
        dlg.OnLButtonUp(0, {23, 20});
        QCOMPARE(dlg.MessagesNumbered(3502),
                 (std::vector<Message>{{3502, 0, NotifyPress}, {3502, 3502, NotifyClick}}));

        dlg.Forget();
        dlg.OnMouseMove(0, {110, 20});
        dlg.OnMouseMove(0, {111, 20});
        QVERIFY(dlg.messages.empty());
        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 10), kRed);
        Q_UNUSED(plain);
    }

    void profileTabSelectsItsProfile()
    {
        int currentProfile = 0;
        BindProfileIndex(&currentProfile);
        RecordingDlg dlg;
        auto* tab0 = dlg.AddControl(0, std::make_unique<CTabControl>(&dlg, 2049, UiRect{10, 10, 60, 30}, "A"));
        auto* tab2 = dlg.AddControl(0, std::make_unique<CTabControl>(&dlg, 2051, UiRect{10, 40, 60, 60}, "C"));
        auto* other = dlg.AddControl(0, std::make_unique<CTabControl>(&dlg, 2060, UiRect{10, 70, 60, 90}, "X"));
        for (auto* tab : {tab0, tab2}) {
            tab->LoadNormalImage(red_);
            tab->LoadHoverImage(green_);
            tab->LoadSelectedImage(blue_);
            tab->LoadSelectedHoverImage(yellow_);
        }
        int indexAtClick = -1;
        dlg.OnMessageNumber(2051, [&](WParam, LParam code) {
            if (code == NotifyClick)
                indexAtClick = currentProfile;
            return LResult(0);
        });

        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 10), kBlue);
        Click(dlg, {20, 50});
        QCOMPARE(currentProfile, 2);
        QCOMPARE(indexAtClick, 2);
        QCOMPARE(tab2->FrameIndex(), 3);
        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 40), kYellow);
        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 10), kRed);
        dlg.OnMouseMove(0, {100, 100});
        QCOMPARE(tab2->FrameIndex(), 2);

        Click(dlg, {20, 80});
        QCOMPARE(currentProfile, 2); // not a profile button

        dlg.Forget();
        dlg.OnMouseMove(0, {20, 50});
        dlg.OnRButtonUp(kMkRButton, {20, 50});
        QCOMPARE(dlg.MessagesNumbered(2051), (std::vector<Message>{{2051, 2051, NotifyRightClick}}));
        QVERIFY(!tab2->OnRButtonUp(kMkRButton, {100, 100}));
        QCOMPARE(dlg.MessagesNumbered(2051).size(), std::size_t(1));
        BindProfileIndex(nullptr);
        Q_UNUSED(other);
    }

    void staticControls()
    {
        RecordingDlg dlg;
        auto* picture = dlg.AddControl(0, std::make_unique<CStaticImage>(&dlg, 3400, UiRect{10, 10, 50, 30}));
        QVERIFY(picture->LoadImage(red_));
        QVERIFY(picture->Disabled);
        QVERIFY(picture->MouseResponse);
        auto* text = dlg.AddControl(0, std::make_unique<CStaticText>(&dlg, 3405, UiRect{60, 10, 100, 30},
                                                                     QStringLiteral("100% and much more text"),
                                                                     0xFFFFFF, 1));
        text->SetFont(16, QStringLiteral("Tahoma"));
        QVERIFY(text->Disabled);

        const QImage shot = dlg.RenderClient();
        QCOMPARE(PixelAt(shot, 10, 10), kRed);
        QCOMPARE(PixelAt(shot, 49, 29), kRed); // 10 × 10 stretched over 40 × 20
        // The text is drawn and stays inside its rectangle.
        bool inside = false;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (x >= 10 && x < 50 && y >= 10 && y < 30)
                    continue;
                const bool drawn = PixelAt(shot, x, y) != kBackground;
                if (text->Rect.Contains(x, y))
                    inside = inside || drawn;
                else
                    QVERIFY2(!drawn, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(inside);

        // The picture takes the hover but reports nothing; the label takes no part.
        Click(dlg, {20, 20});
        QCOMPARE(dlg.HoverControl, picture);
        dlg.OnMouseMove(0, {70, 20});
        QCOMPARE(dlg.HoverControl, nullptr);
        QVERIFY(dlg.messages.empty());

        dlg.Forget();
        text->SetText(QStringLiteral("50%"));
        text->SetText(QStringLiteral("50%"));
        QCOMPARE(dlg.invalidated, std::vector<UiRect>{text->Rect});
        QCOMPARE(text->Text(), QStringLiteral("50%"));
    }

    void comboHoverReports()
    {
        RecordingDlg dlg;
        auto* combo = dlg.AddControl(0, std::make_unique<CComboButton>(&dlg, 1028, 2013, UiRect{10, 10, 100, 30}, "",
                                                                       1, true, true, false, "Disable"));
        auto hovers = [&] {
            std::size_t n = 0;
            for (const Message& m : dlg.MessagesNumbered(1028))
                n += m.lParam == NotifyHoverEnter ? 1 : 0;
            return n;
        };
        auto leaves = [&] {
            std::size_t n = 0;
            for (const Message& m : dlg.MessagesNumbered(1028))
                n += m.lParam == NotifyHoverLeave ? 1 : 0;
            return n;
        };
        for (int i = 0; i < 8; ++i)
            dlg.OnMouseMove(0, {20 + i, 20});
        QCOMPARE(hovers(), std::size_t(5));
        QCOMPARE(dlg.MessagesNumbered(1028).front(), (Message{1028, 2013, NotifyHoverEnter}));
        dlg.OnMouseMove(0, {150, 100});
        dlg.OnMouseMove(0, {151, 100}); // only the first move out reports
        QCOMPARE(leaves(), std::size_t(1));
        QCOMPARE(dlg.MessagesNumbered(1028).back(), (Message{1028, 2013, NotifyHoverLeave}));

        // Held open: leaving reports nothing and coming back brings no new hover reports.
        dlg.Forget();
        for (int i = 0; i < 2; ++i)
            dlg.OnMouseMove(0, {20 + i, 20});
        combo->HeldOpen = true;
        dlg.OnMouseMove(0, {150, 100});
        QCOMPARE(leaves(), std::size_t(0));
        for (int i = 0; i < 6; ++i)
            dlg.OnMouseMove(0, {20 + i, 20});
        QCOMPARE(hovers(), std::size_t(5));
        dlg.OnMouseMove(0, {150, 100});
        QCOMPARE(leaves(), std::size_t(0));
        for (int i = 0; i < 3; ++i)
            dlg.OnMouseMove(0, {20 + i, 20});
        QCOMPARE(hovers(), std::size_t(5));
        combo->HeldOpen = false;
        dlg.OnMouseMove(0, {150, 100});
        QCOMPARE(leaves(), std::size_t(1));
        for (int i = 0; i < 3; ++i)
            dlg.OnMouseMove(0, {20 + i, 20});
        QCOMPARE(hovers(), std::size_t(8));
    }

    void comboClickAndLock()
    {
        RecordingDlg dlg;
        auto* combo = dlg.AddControl(0, std::make_unique<CComboButton>(&dlg, 1028, 2014, UiRect{10, 10, 100, 30}, "",
                                                                       1, true, true, false, "Disable"));
        combo->LoadNormalImage(red_);
        combo->LoadHoverImage(green_);
        dlg.OnMouseMove(0, {20, 20});
        dlg.Forget();
        dlg.OnLButtonDown(kMkLButton, {20, 20});
        dlg.OnLButtonUp(0, {20, 20});
        QCOMPARE(dlg.messages, (std::vector<Message>{{2014, 0, NotifyPress}, {1028, 2014, NotifyClick}}));

        combo->Locked = true;
        dlg.Forget();
        QVERIFY(combo->OnLButtonDown(kMkLButton, {20, 20})); // the look changes
        QCOMPARE(combo->ButtonState, kStatePressed);
        QVERIFY(combo->OnLButtonUp(0, {20, 20}));
        QVERIFY(dlg.messages.empty());

        // Separate images: the hover image while held open, even with the mouse away.
        combo->Locked = false;
        dlg.OnMouseMove(0, {150, 100});
        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 10), kRed);
        combo->HeldOpen = true;
        QCOMPARE(PixelAt(dlg.RenderClient(), 10, 10), kGreen);
    }

    void comboStripFrames_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("heldOpen");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("frame");
        QTest::newRow("normal") << false << false << 0 << 0;
        QTest::newRow("hover") << false << false << 1 << 1;
        QTest::newRow("pressed") << false << false << 2 << 2;
        QTest::newRow("held open") << false << true << 0 << 1;
        QTest::newRow("held open pressed") << false << true << 2 << 1;
        QTest::newRow("locked") << true << false << 0 << 3;
        QTest::newRow("locked hover") << true << false << 1 << 4;
        QTest::newRow("locked held open") << true << true << 0 << 3;
    }

    void comboStripFrames()
    {
        QFETCH(bool, locked);
        QFETCH(bool, heldOpen);
        QFETCH(int, state);
        QFETCH(int, frame);
        const std::vector<QColor> colours{kRed, kGreen, kBlue, kYellow, QColor(Qt::magenta)};
        RecordingDlg dlg;
        auto* combo = dlg.AddControl(0, std::make_unique<CComboButton>(&dlg, 1028, 2013, UiRect{10, 10, 60, 30}, "",
                                                                       0, true, true, false, ""));
        QVERIFY(combo->LoadStripImage(WriteStripImage(dir_, "combo_strip.png", 4, 4, colours)));
        combo->Locked = locked;
        combo->HeldOpen = heldOpen;
        combo->ButtonState = state;
        QCOMPARE(PixelAt(dlg.RenderClient(), 30, 20), colours[static_cast<std::size_t>(frame)]);
    }

    void powerDialWedges_data()
    {
        QTest::addColumn<float>("scale");
        QTest::newRow("1") << 1.0f;
        QTest::newRow("1.5") << 1.5f;
        QTest::newRow("2") << 2.0f;
    }

    void powerDialWedges()
    {
        QFETCH(float, scale);
        UiScale = scale;
        RecordingDlg dlg;
        dlg.resize(400, 300);
        const UiRect rect = UiRect::Scaled(20, 30, 140, 84, scale);
        auto* dial = dlg.AddControl(0, std::make_unique<CPowerManageButton>(&dlg, rect));
        QCOMPARE(dial->Id, kPowerManageButtonId);
        QCOMPARE(dial->PowerLevel, 6);

        // Every corner of the rectangle lies outside every wedge: a release there changes nothing.
        for (const QPoint corner : {QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.top),
                                    QPoint(rect.left, rect.bottom - 1), QPoint(rect.right - 1, rect.bottom - 1)}) {
            QCOMPARE(dial->WedgeAt(corner), -1);
            dlg.Forget();
            dlg.OnMouseMove(0, corner);
            dlg.OnLButtonDown(kMkLButton, corner);
            dlg.OnLButtonUp(0, corner);
            QCOMPARE(dial->PowerLevel, 6);
            QCOMPARE(dlg.MessagesNumbered(3500), (std::vector<Message>{{3500, 0, NotifyPress}}));
        }

        // The middle of each wedge chooses its level.
        for (int k = 2; k < 10; ++k) {
            const QPolygon& wedge = dial->Wedge(k);
            const QPoint middle = (wedge[0] + wedge[1] + wedge[2]) / 3;
            QCOMPARE(dial->WedgeAt(middle), k);
            dlg.Forget();
            Click(dlg, middle);
            QCOMPARE(dial->PowerLevel, k + 1);
            QCOMPARE(dlg.MessagesNumbered(3500).back(), (Message{3500, 0, NotifyClick}));
        }

        // The common apex of the scaled design.
        QCOMPARE(dial->Wedge(5)[2], QPoint(rect.left + static_cast<int>(70 * scale),
                                           rect.top + static_cast<int>(71 * scale)));

        dial->OnLButtonDown(kMkLButton, QPoint(rect.left + 70, rect.top + 40));
        dial->OnLButtonUp(0, QPoint(rect.right + 5, rect.top));
        QCOMPARE(dial->ButtonState, kStateNormal);
    }

    void powerDialDrawsItsLevel()
    {
        RecordingDlg dlg;
        auto* dial = dlg.AddControl(0, std::make_unique<CPowerManageButton>(&dlg, UiRect{10, 10, 150, 94}));
        QVERIFY(dial->LoadLevelImage(6, red_));
        QVERIFY(dial->LoadLevelImage(7, green_));
        QVERIFY(!dial->LoadLevelImage(11, green_));
        QCOMPARE(PixelAt(dlg.RenderClient(), 140, 90), kRed);
        dial->PowerLevel = 7;
        QCOMPARE(PixelAt(dlg.RenderClient(), 140, 90), kGreen);
        dial->PowerLevel = 8; // no picture for this level
        QCOMPARE(PixelAt(dlg.RenderClient(), 140, 90), kBackground);
    }

    void sliderPositionsAndNearestStep()
    {
        CSliderControl debounce(nullptr, 3530, UiRect{20, 10, 165, 23}, 16, 6, 7);
        QCOMPARE(debounce.StepPositions.size(), std::size_t(16));
        QCOMPARE(debounce.StepPositions[0], 26);
        QCOMPARE(debounce.StepPositions[1], 34);
        QCOMPARE(debounce.StepPositions[7], 87);
        QCOMPARE(debounce.StepPositions[15], 158);

        CSliderControl two(nullptr, 1, UiRect{0, 0, 100, 10}, 2, 0, 0);
        QCOMPARE(two.NearestStep(49), 0);
        QCOMPARE(two.NearestStep(50), 1);
        QCOMPARE(two.NearestStep(-500), 0);
        QCOMPARE(two.NearestStep(500), 1);

        for (int count : {1, 0, -3}) {
            CSliderControl few(nullptr, 1, UiRect{0, 0, 100, 10}, count, 5, 5);
            QCOMPARE(few.NearestStep(90), 0);
            few.SetStepIndex(4);
            QCOMPARE(few.StepIndex, 0);
            RecordingDlg dlg;
            few.Parent = &dlg;
            QVERIFY(!few.DragTo(50));
            few.OnLButtonDown(kMkLButton, {50, 5});
            few.OnLButtonUp(0, {50, 5});
            QCOMPARE(few.StepIndex, 0);
        }
    }

    void sliderClickJumpsToTheNearestStep()
    {
        RecordingDlg dlg;
        auto* slider = dlg.AddControl(6, std::make_unique<CSliderControl>(&dlg, 3530, UiRect{0, 0, 100, 10}, 2, 0, 0));
        QCOMPARE(slider->StepIndex, 0);
        Click(dlg, {50, 5}); // exactly the midpoint
        QCOMPARE(slider->StepIndex, 1);
        QCOMPARE(slider->ThumbRect(), (UiRect{100, 0, 100, 10}));
        QCOMPARE(dlg.MessagesNumbered(3530), (std::vector<Message>{{3530, 0, NotifyPress}, {3530, 0, NotifyClick}}));
        slider->SetStepIndex(0);
        Click(dlg, {49, 5});
        QCOMPARE(slider->StepIndex, 0);
        QVERIFY(!slider->Dragging());
    }

    void sliderDragsBeyondItsEnds()
    {
        RecordingDlg dlg;
        auto* slider =
            dlg.AddControl(6, std::make_unique<CSliderControl>(&dlg, 3530, UiRect{20, 10, 165, 23}, 16, 6, 7));
        QVERIFY(slider->LoadThumbImage(Solid("thumb.png", 13, 13, kRed)));
        slider->SetStepIndex(0);
        QCOMPARE(PixelAt(dlg.RenderClient(), 20, 15), kRed);

        dlg.OnMouseMove(kMkLButton, {25, 15});
        dlg.OnLButtonDown(kMkLButton, {25, 15}); // on the thumb
        QVERIFY(slider->Dragging());
        dlg.Forget();
        dlg.OnMouseMove(kMkLButton, {88, 15});
        dlg.OnMouseMove(kMkLButton, {89, 15});
        QCOMPARE(dlg.MessagesNumbered(3530),
                 (std::vector<Message>{{3530, 7, NotifyValue}, {3530, 7, NotifyValue}})); // every move
        QCOMPARE(slider->ThumbRect().left, 20); // the resting thumb does not move during a drag
        const QImage dragged = dlg.RenderClient(); // drawn at the pointer less the left margin
        QCOMPARE(PixelAt(dragged, 83, 15), kRed);
        QCOMPARE(PixelAt(dragged, 82, 15), kBackground);

        // Outside the slider the owner continues the drag.
        QVERIFY(slider->DragTo(1000));
        QCOMPARE(slider->StepIndex, 15);
        QCOMPARE(slider->ThumbRect(), (UiRect{152, 10, 165, 23}));
        const QImage right = dlg.RenderClient();
        QCOMPARE(PixelAt(right, 164, 15), kRed); // kept inside the slider
        QCOMPARE(PixelAt(right, 151, 15), kBackground);
        QVERIFY(slider->DragTo(-1000));
        QCOMPARE(slider->StepIndex, 0);
        QCOMPARE(dlg.MessagesNumbered(3530).back(), (Message{3530, 0, NotifyValue}));

        dlg.Forget();
        dlg.OnLButtonUp(0, {400, 15});
        QVERIFY(!slider->Dragging());
        QCOMPARE(slider->ButtonState, kStateNormal);
        QVERIFY(dlg.MessagesNumbered(3530).empty());
        QVERIFY(!slider->DragTo(100));

        // A press beside the thumb does not drag.
        dlg.OnMouseMove(0, {120, 15});
        dlg.OnLButtonDown(kMkLButton, {120, 15});
        QVERIFY(!slider->Dragging());
        dlg.Forget();
        dlg.OnMouseMove(kMkLButton, {121, 15});
        QVERIFY(dlg.MessagesNumbered(3530).empty());
        dlg.OnLButtonUp(0, {121, 15});
        QCOMPARE(slider->StepIndex, slider->NearestStep(121));
    }

    void gaugeFillRows_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("fillTop");
        QTest::newRow("0 of 8: one eighth") << 0 << 66;
        QTest::newRow("3 of 8: half") << 3 << 42;
        QTest::newRow("7 of 8: full") << 7 << 10;
        QTest::newRow("beyond: full") << 12 << 10;
        QTest::newRow("below: one eighth") << -4 << 66;
    }

    void gaugeFillRows()
    {
        QFETCH(int, value);
        QFETCH(int, fillTop);
        RecordingDlg dlg;
        auto* gauge = dlg.AddControl(
            1, std::make_unique<CDPIValueShowControl>(&dlg, 3300, UiRect{10, 10, 17, 74}, 8, 12, 12));
        QVERIFY(gauge->LoadBackgroundImage(Solid("bar_bg.png", 7, 64, kRed)));
        QVERIFY(gauge->LoadFillImage(Solid("bar_fill.png", 7, 64, kGreen)));
        gauge->GaugeValue = value;
        QCOMPARE(gauge->FillTop(), fillTop);
        const QImage picture = dlg.RenderClient();
        for (int y = 10; y < 74; ++y)
            QCOMPARE(PixelAt(picture, 13, y), y >= fillTop ? kGreen : kRed);
    }

    void gaugeAtOddScaledHeights()
    {
        UiScale = 1.5f;
        RecordingDlg dlg;
        auto* gauge = dlg.AddControl(
            1, std::make_unique<CDPIValueShowControl>(&dlg, 3300, UiRect{10, 10, 20, 106}, 5, 18, 18));
        gauge->LoadBackgroundImage(Solid("bar_bg.png", 7, 64, kRed));
        gauge->LoadFillImage(Solid("bar_fill.png", 7, 64, kGreen));
        // 96 / 5 = 19 rows would be odd: the fill starts one row higher.
        QCOMPARE(gauge->FillTop(), 86);
        const QImage picture = dlg.RenderClient();
        QCOMPARE(PixelAt(picture, 12, 85), kRed);
        QCOMPARE(PixelAt(picture, 12, 86), kGreen);
        QCOMPARE(PixelAt(picture, 12, 105), kGreen);

        gauge->SetStepCount(0); // no steps: the empty bar only
        QCOMPARE(PixelAt(dlg.RenderClient(), 12, 105), kRed);
    }

    void batteryFill_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("fillTop");
        QTest::newRow("0 still one row") << 0 << 66;
        QTest::newRow("1") << 1 << 66;
        QTest::newRow("50") << 50 << 42;
        QTest::newRow("100") << 100 << 17;
        QTest::newRow("above 100") << 255 << 17;
    }

    void batteryFill()
    {
        QFETCH(int, level);
        QFETCH(int, fillTop);
        RecordingDlg dlg;
        auto* battery = dlg.AddControl(0, std::make_unique<CBattery>(&dlg, UiRect{10, 10, 40, 71}));
        QCOMPARE(battery->Id, kBatteryId);
        QVERIFY(battery->Disabled);
        QVERIFY(battery->LoadEmptyImage(Solid("battery_empty.png", 30, 61, kRed)));
        QVERIFY(battery->LoadFullImage(Solid("battery_full.png", 30, 61, kGreen)));
        battery->BatteryLevel = static_cast<std::uint8_t>(level);
        QCOMPARE(battery->FillTop(level), fillTop);
        const QImage picture = dlg.RenderClient();
        for (int y = 10; y < 71; ++y)
            QCOMPARE(PixelAt(picture, 20, y), y >= fillTop ? kGreen : kRed);
    }

    void batteryModes()
    {
        RecordingDlg dlg;
        auto* battery = dlg.AddControl(0, std::make_unique<CBattery>(&dlg, UiRect{10, 10, 40, 71}));
        battery->LoadEmptyImage(Solid("battery_empty.png", 30, 61, kRed));
        battery->LoadFullImage(Solid("battery_full.png", 30, 61, kGreen));
        battery->LoadChargingImage(Solid("battery_charging.png", 30, 61, kBlue));
        QImage bolt(30, 61, QImage::Format_ARGB32);
        bolt.fill(Qt::transparent);
        bolt.setPixelColor(0, 0, kYellow);
        QVERIFY(bolt.save(dir_.filePath("bolt.png")));
        QVERIFY(battery->LoadLightningImage(dir_.filePath("bolt.png")));

        battery->BatteryMode = kBatteryCharging;
        battery->ChargingLevel = 25; // 12 of the 50 cell rows
        QImage picture = dlg.RenderClient();
        QCOMPARE(PixelAt(picture, 10, 10), kYellow);
        QCOMPARE(PixelAt(picture, 20, 54), kBackground);
        QCOMPARE(PixelAt(picture, 20, 55), kBlue);

        battery->BatteryMode = kBatteryCharged;
        picture = dlg.RenderClient();
        QCOMPARE(PixelAt(picture, 10, 10), kYellow);
        QCOMPARE(PixelAt(picture, 20, 11), kGreen);

        battery->BatteryMode = 3;
        picture = dlg.RenderClient();
        QCOMPARE(PixelAt(picture, 20, 60), kBackground);

        UiScale = 1.5f;
        CBattery scaled(nullptr, UiRect{10, 10, 55, 101});
        scaled.LoadFullImage(dir_.filePath("battery_full.png"));
        QCOMPARE(scaled.FillTop(0), 93); // 94 would leave an odd 7 rows
    }

    void scrollBarThumbPlacement_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::newRow("start") << 0 << 10 << 100 << 26 << 42;
        QTest::newRow("middle, rounded") << 50 << 10 << 100 << 111 << 127;
        QTest::newRow("end, cut at the track") << 95 << 10 << 100 << 187 << 194;
        QTest::newRow("page beyond range") << 0 << 300 << 100 << 26 << 194;
        QTest::newRow("no range: whole track") << 7 << 10 << 0 << 26 << 194;
    }

    void scrollBarThumbPlacement()
    {
        QFETCH(int, position);
        QFETCH(int, page);
        QFETCH(int, range);
        QFETCH(int, top);
        QFETCH(int, bottom);
        CVScrollBar bar(nullptr, 2021, UiRect{100, 10, 118, 210});
        bar.SetArrows(QImage(54, 16, QImage::Format_ARGB32), QImage(54, 16, QImage::Format_ARGB32));
        QCOMPARE(bar.UpArrowRect(), (UiRect{100, 10, 118, 25}));
        QCOMPARE(bar.DownArrowRect(), (UiRect{100, 195, 118, 210}));
        QCOMPARE(bar.TrackRect(), (UiRect{100, 26, 118, 194}));
        bar.SetScrollInfo(position, page, range);
        QCOMPARE(bar.ThumbRect(), (UiRect{100, top, 118, bottom}));
        QCOMPARE(bar.ScrollPos, range == 0 ? 0 : position);
    }

    void scrollBarPressParts_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("part");
        QTest::newRow("up arrow") << 12 << int(kScrollPartUpArrow);
        QTest::newRow("down arrow") << 200 << int(kScrollPartDownArrow);
        QTest::newRow("thumb") << 115 << int(kScrollPartThumb);
        QTest::newRow("above") << 60 << int(kScrollPartAboveThumb);
        QTest::newRow("below") << 150 << int(kScrollPartBelowThumb);
    }

    void scrollBarPressParts()
    {
        QFETCH(int, y);
        QFETCH(int, part);
        RecordingDlg dlg(kTemplateAuxDialog);
        dlg.resize(200, 250);
        auto* bar = dlg.AddControl(0, std::make_unique<CVScrollBar>(&dlg, 2021, UiRect{100, 10, 118, 210}));
        bar->SetArrows(QImage(54, 16, QImage::Format_ARGB32), QImage(54, 16, QImage::Format_ARGB32));
        bar->SetScrollInfo(50, 10, 100);
        dlg.OnMouseMove(0, {105, y});
        dlg.OnLButtonDown(kMkLButton, {105, y});
        QCOMPARE(dlg.MessagesNumbered(2021).back(), (Message{2021, WParam(part), NotifyPress}));
        QCOMPARE(bar->Dragging(), part == int(kScrollPartThumb));
    }

    void scrollBarDragStopsAtTheEndAndSnapsBack()
    {
        RecordingDlg dlg;
        dlg.resize(200, 250);
        auto* bar = dlg.AddControl(0, std::make_unique<CVScrollBar>(&dlg, 2021, UiRect{100, 10, 118, 210}));
        const QImage strip(WriteStripImage(dir_, "arrows.png", 18, 16, {kRed, kGreen, kBlue}));
        bar->SetArrows(strip, strip);
        bar->SetScrollInfo(0, 10, 100);
        // The owner keeps the first row within its list: at most position 40.
        dlg.OnMessageNumber(2021, [&](WParam, LParam code) {
            if (code == NotifyValue)
                bar->SetScrollInfo(std::min(bar->ScrollPos, 40), 10, 100);
            return LResult(0);
        });

        QImage picture = dlg.RenderClient();
        QCOMPARE(PixelAt(picture, 105, 12), kRed);
        QCOMPARE(PixelAt(picture, 105, 150), ToQColor(0x101010));
        QCOMPARE(PixelAt(picture, 100, 30), ToQColor(0x1F1F1F));
        QCOMPARE(PixelAt(picture, 105, 30), ToQColor(0x323232));

        dlg.OnMouseMove(0, {105, 30});
        QVERIFY(bar->ThumbHover());
        picture = dlg.RenderClient();
        QCOMPARE(PixelAt(picture, 100, 30), ToQColor(0xDEA035));
        QCOMPARE(PixelAt(picture, 105, 30), ToQColor(0x1F1F1F));

        dlg.OnLButtonDown(kMkLButton, {105, 30}); // grabbed 4 rows below the thumb's top
        QVERIFY(bar->Dragging());
        dlg.OnMouseMove(kMkLButton, {105, 60});
        QCOMPARE(bar->DragRect(), (UiRect{100, 56, 118, 72}));
        QCOMPARE(dlg.MessagesNumbered(2021).back(), (Message{2021, 0, NotifyValue}));

        // Far beyond the end (the owner forwards moves outside): the drag stops at the track end.
        bar->OnMouseMove(kMkLButton, {105, 1000});
        QCOMPARE(bar->DragRect(), (UiRect{100, 178, 118, 194}));
        const std::size_t count = dlg.MessagesNumbered(2021).size();
        bar->OnMouseMove(kMkLButton, {105, 1200});
        QCOMPARE(dlg.MessagesNumbered(2021).size(), count); // no shift, no report
        QCOMPARE(PixelAt(dlg.RenderClient(), 105, 180), ToQColor(0x1F1F1F)); // drawn where dragged

        bar->OnLButtonUp(0, {105, 1200});
        QVERIFY(!bar->Dragging());
        QVERIFY(!bar->ThumbHover());
        QCOMPARE(dlg.MessagesNumbered(2021).back(), (Message{2021, 0, NotifyClick}));
        QCOMPARE(bar->ScrollPos, 40);
        QCOMPARE(bar->ThumbRect(), (UiRect{100, 94, 118, 110})); // where position 40 puts it

        // Dragging up beyond the start stops at the track's top.
        bar->OnMouseMove(0, {105, 100});
        bar->OnLButtonDown(kMkLButton, {105, 100});
        bar->OnMouseMove(kMkLButton, {105, -500});
        QCOMPARE(bar->DragRect().top, 26);
        QCOMPARE(bar->ScrollPos, 0);
    }
};

QTEST_MAIN(TestControls)
#include "test_controls.moc"

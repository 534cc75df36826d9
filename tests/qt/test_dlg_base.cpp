// The skinned dialog base: hover, press and release routing, drawing order, repaint requests,
// frame dragging, pop-up slots, the open-dialog table, image loading and the message and timer
// shim.

#include "app/core/process_values.h"
#include "skin_test_util.h"
#include "ui/check_button.h"
#include "ui/image_button.h"
#include "ui/image_loading.h"
#include "ui/messages.h"
#include "ui/open_dialog_table.h"
#include "ui/tab_control.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace vexmo;
using namespace vexmo::test;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);

// A message receiver that is a plain QObject.
class Receiver : public QObject, public MessageTarget {};

class TimerDlg : public RecordingDlg {
public:
    void OnTimer(int id) override { fired.push_back(id); }
    std::vector<int> fired;
};

class InitCountingDlg : public RecordingDlg {
public:
    using RecordingDlg::RecordingDlg;
    void InitUI(const UiRect& client) override
    {
        ++initRuns;
        initClient = client;
    }
    int initRuns = 0;
    UiRect initClient;
};

} // namespace

class TestDlgBase : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        UiScale = 1.0f;
        ClearOpenDialogTable();
    }

    void hoverFollowsTheMouseAndLeaveDropsIt()
    {
        RecordingDlg dlg;
        auto* a = dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 10, UiRect{10, 10, 50, 40}, kRed));
        auto* b = dlg.AddControl(1, std::make_unique<ColourBox>(&dlg, 11, UiRect{80, 10, 120, 40}, kGreen));

        dlg.OnMouseMove(0, {20, 20});
        QCOMPARE(dlg.HoverControl, a);
        QCOMPARE(a->ButtonState, kStateHover);
        QCOMPARE(b->moves, 1); // every eligible control hears the move of a hover search
        QCOMPARE(dlg.LastMousePos, QPoint(20, 20));
        QVERIFY(std::count(dlg.invalidated.begin(), dlg.invalidated.end(), a->Rect) == 1);

        // Inside the hover control only that control hears the move.
        dlg.OnMouseMove(0, {30, 25});
        QCOMPARE(b->moves, 1);
        QCOMPARE(a->lastMove, QPoint(30, 25));

        // Onto the frame: the old hover control is repainted and drops its look.
        dlg.Forget();
        dlg.OnMouseMove(0, {65, 60});
        QCOMPARE(dlg.HoverControl, nullptr);
        QCOMPARE(a->ButtonState, kStateNormal);
        QCOMPARE(dlg.invalidated, std::vector<UiRect>{a->Rect});

        // Leaving the window: the hover control gets a move to (-1, -1).
        dlg.OnMouseMove(0, {90, 20});
        QCOMPARE(dlg.HoverControl, b);
        dlg.OnMouseLeave();
        QCOMPARE(dlg.HoverControl, nullptr);
        QCOMPARE(dlg.LastMousePos, QPoint(-1, -1));
        QCOMPARE(b->lastMove, QPoint(-1, -1));
        QCOMPARE(b->ButtonState, kStateNormal);
        QVERIFY(!dlg.Tracking);
    }

    void mouseHoverRepaintsTheHoverControlUnderTheCursor()
    {
        RecordingDlg dlg;
        auto* a = dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 10, UiRect{10, 10, 50, 40}, kRed));
        dlg.OnMouseMove(0, {20, 20});
        dlg.Forget();
        dlg.cursor = QPoint(60, 60);
        dlg.OnMouseHover();
        QVERIFY(dlg.invalidated.empty());
        dlg.cursor = QPoint(25, 30);
        dlg.OnMouseHover();
        QCOMPARE(dlg.invalidated, std::vector<UiRect>{a->Rect});
        QCOMPARE(dlg.LastMousePos, QPoint(25, 30));
    }

    void pressDragOutAndReleaseOutside()
    {
        RecordingDlg dlg;
        auto* button = dlg.AddControl(0, std::make_unique<CImageButton>(&dlg, 2001, UiRect{10, 10, 50, 40}, "x"));
        auto* other = dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 12, UiRect{80, 10, 120, 40}, kGreen));

        dlg.OnMouseMove(kMkLButton, {20, 20});
        dlg.OnLButtonDown(kMkLButton, {20, 20});
        QVERIFY(dlg.PressedOnControl);
        QVERIFY(dlg.Captured);
        QCOMPARE(dlg.PressedControl, button);
        QCOMPARE(dlg.PressedRect, button->Rect);
        QCOMPARE(button->ButtonState, kStatePressed);
        QCOMPARE(dlg.MessagesNumbered(2001), (std::vector<Message>{{2001, 0, NotifyPress}}));

        // While held, moving over another control changes no hover.
        const int otherMoves = other->moves;
        dlg.OnMouseMove(kMkLButton, {90, 20});
        QCOMPARE(dlg.HoverControl, button);
        QCOMPARE(other->moves, otherMoves);
        QCOMPARE(other->ButtonState, kStateNormal);

        dlg.OnLButtonUp(0, {90, 20});
        QCOMPARE(button->ButtonState, kStateNormal);
        QCOMPARE(dlg.MessagesNumbered(2001).size(), std::size_t(1)); // no click
        QCOMPARE(dlg.LastMousePos, QPoint(-1, -1));
        QCOMPARE(dlg.HoverControl, nullptr);
        QCOMPARE(dlg.PressedRect, kNoRect);
        QVERIFY(!dlg.PressedOnControl);
        QVERIFY(!dlg.Captured);
        // The pressed control stays remembered until another press lets it go.
        QCOMPARE(dlg.PressedControl, button);
        dlg.OnMouseMove(0, {90, 20});
        dlg.OnLButtonDown(kMkLButton, {90, 20});
        QCOMPARE(dlg.PressedControl, other);
    }

    void releaseInsideClicksAndKeepsHover()
    {
        RecordingDlg dlg;
        auto* button = dlg.AddControl(0, std::make_unique<CImageButton>(&dlg, 2001, UiRect{10, 10, 50, 40}, "x"));
        dlg.OnMouseMove(0, {20, 20});
        dlg.OnLButtonDown(kMkLButton, {20, 20});
        dlg.OnLButtonUp(0, {25, 22});
        QCOMPARE(dlg.MessagesNumbered(2001),
                 (std::vector<Message>{{2001, 0, NotifyPress}, {2001, 2001, NotifyClick}}));
        QCOMPARE(dlg.HoverControl, button);
        QCOMPARE(dlg.LastMousePos, QPoint(25, 22));
        QCOMPARE(button->ButtonState, kStateHover);
    }

    void aHandlerMayClearTheHoverControl()
    {
        RecordingDlg dlg;
        dlg.AddControl(0, std::make_unique<CImageButton>(&dlg, 2001, UiRect{10, 10, 50, 40}, "x"));
        dlg.OnMessageNumber(2001, [&](WParam, LParam code) {
            if (code == NotifyClick)
                dlg.HoverControl = nullptr;
            return LResult(0);
        });
        dlg.OnMouseMove(0, {20, 20});
        dlg.OnLButtonDown(kMkLButton, {20, 20});
        dlg.Forget();
        dlg.OnLButtonUp(0, {20, 20});
        QVERIFY(dlg.invalidated.empty());
        QCOMPARE(dlg.wholeInvalidations, 0);
        QCOMPARE(dlg.HoverControl, nullptr);
    }

    void overlappingControlsLaterWinsAndIsOnTop()
    {
        RecordingDlg dlg;
        dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 1, UiRect{10, 10, 60, 60}, kRed));
        auto* later = dlg.AddControl(1, std::make_unique<ColourBox>(&dlg, 2, UiRect{40, 40, 90, 90}, kGreen));
        dlg.OnMouseMove(0, {50, 50});
        QCOMPARE(dlg.HoverControl, later);

        const QImage picture = dlg.RenderClient();
        QCOMPARE(PixelAt(picture, 20, 20), kRed);
        QCOMPARE(PixelAt(picture, 50, 50), kGreen);
        QCOMPARE(PixelAt(picture, 80, 80), kGreen);
        QCOMPARE(PixelAt(picture, 150, 120), ToQColor(0xEFE2BA));
    }

    void hiddenControlsAreNeitherDrawnNorHovered_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("mouseResponse");
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<bool>("hovered");
        QTest::newRow("displayed") << true << true << true << true << true;
        QTest::newRow("not shown") << true << false << true << false << false;
        QTest::newRow("page hidden") << false << true << true << false << false;
        QTest::newRow("no mouse response") << true << true << false << true << false;
    }

    void hiddenControlsAreNeitherDrawnNorHovered()
    {
        QFETCH(bool, visible);
        QFETCH(bool, shown);
        QFETCH(bool, mouseResponse);
        QFETCH(bool, drawn);
        QFETCH(bool, hovered);
        RecordingDlg dlg;
        auto* box = dlg.AddControl(2, std::make_unique<ColourBox>(&dlg, 1, UiRect{10, 10, 60, 60}, kRed));
        box->SetVisible(visible);
        box->SetShown(shown);
        box->MouseResponse = mouseResponse;
        dlg.OnMouseMove(0, {20, 20});
        QCOMPARE(dlg.HoverControl == box, hovered);
        QCOMPARE(box->moves > 0, hovered);
        QCOMPARE(PixelAt(dlg.RenderClient(), 20, 20) == kRed, drawn);
    }

    void drawControlsSkipsControlsOutsideTheUpdate()
    {
        RecordingDlg dlg;
        dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 1, UiRect{10, 10, 60, 60}, kRed));
        dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 2, UiRect{100, 10, 150, 60}, kGreen));
        QImage picture(200, 150, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::black);
        QPainter painter(&picture);
        dlg.DrawControls(painter, UiRect{0, 0, 80, 80});
        painter.end();
        QCOMPARE(PixelAt(picture, 20, 20), kRed);
        QCOMPARE(PixelAt(picture, 120, 20), QColor(Qt::black));
    }

    void pageChangingIdsRepaintTheWholeWindow_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<bool>("whole");
        for (uint id : {2040u, 2049u, 2053u, 3001u, 3004u, 3007u, 3009u})
            QTest::addRow("%u", id) << id << true;
        for (uint id : {2048u, 2054u, 3005u, 3010u, 3504u})
            QTest::addRow("%u", id) << id << false;
    }

    void pageChangingIdsRepaintTheWholeWindow()
    {
        QFETCH(uint, id);
        QFETCH(bool, whole);
        QCOMPARE(IsPageChangingId(id), whole);
        RecordingDlg dlg;
        auto* header = dlg.AddControl(0, std::make_unique<CCheckButton>(&dlg, id, UiRect{10, 10, 60, 30}, "h", 0));
        dlg.OnMouseMove(0, {20, 20});
        dlg.OnLButtonDown(kMkLButton, {20, 20});
        dlg.Forget();
        dlg.OnLButtonUp(0, {20, 20});
        QVERIFY(header->Checked);
        QCOMPARE(dlg.wholeInvalidations, whole ? 1 : 0);
        QCOMPARE(dlg.invalidated, whole ? std::vector<UiRect>{} : std::vector<UiRect>{header->Rect});
    }

    void rightClicksReachOnlyListZero()
    {
        RecordingDlg dlg;
        auto* tab = dlg.AddControl(0, std::make_unique<CTabControl>(&dlg, 2050, UiRect{10, 10, 60, 30}, "p"));
        auto* pageTab = dlg.AddControl(1, std::make_unique<CTabControl>(&dlg, 2051, UiRect{100, 10, 150, 30}, "q"));
        auto* pageBox = dlg.AddControl(3, std::make_unique<ColourBox>(&dlg, 7, UiRect{100, 50, 150, 80}, kRed));

        dlg.OnMouseMove(0, {20, 20});
        dlg.OnRButtonUp(kMkRButton, {20, 20});
        QCOMPARE(dlg.MessagesNumbered(2050), (std::vector<Message>{{2050, 2050, NotifyRightClick}}));

        dlg.OnMouseMove(0, {120, 20});
        QCOMPARE(dlg.HoverControl, pageTab);
        dlg.OnRButtonUp(kMkRButton, {120, 20});
        QVERIFY(dlg.MessagesNumbered(2051).empty());
        dlg.OnMouseMove(0, {120, 60});
        dlg.OnRButtonUp(kMkRButton, {120, 60});
        QCOMPARE(pageBox->rightUps, 0);
        Q_UNUSED(tab);
    }

    void doubleClickGoesToTheHoverControl()
    {
        RecordingDlg dlg;
        auto* a = dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 1, UiRect{10, 10, 60, 60}, kRed));
        // Without a hover control the double click is not routed.
        dlg.OnLButtonDblClk(kMkLButton, {20, 20});
        QCOMPARE(a->doubleClicks, 0);
        dlg.OnMouseMove(0, {20, 20});
        dlg.OnLButtonDblClk(kMkLButton, {20, 20});
        QCOMPARE(a->doubleClicks, 1);
        QCOMPARE(dlg.PressedRect, a->Rect);
    }

    void getControlFindsTheFirstWithTheId()
    {
        RecordingDlg dlg;
        auto* first = dlg.AddControl(1, std::make_unique<ColourBox>(&dlg, 3402, UiRect{0, 0, 5, 5}, kRed));
        dlg.AddControl(1, std::make_unique<ColourBox>(&dlg, 3402, UiRect{10, 0, 15, 5}, kRed));
        auto* inListZero = dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 3400, UiRect{0, 0, 5, 5}, kRed));
        dlg.AddControl(2, std::make_unique<ColourBox>(&dlg, 3400, UiRect{0, 0, 5, 5}, kRed));
        QCOMPARE(dlg.GetControl(3402), first);
        QCOMPARE(dlg.GetControl(3400), inListZero);
        QCOMPARE(dlg.GetControl(9999), nullptr);
        QCOMPARE(dlg.AddControl(7, std::make_unique<ColourBox>(&dlg, 1, UiRect{}, kRed)), nullptr);
    }

    void controlsAreDeletedListByListInOrder()
    {
        std::vector<std::uint32_t> deaths;
        {
            RecordingDlg dlg;
            dlg.AddControl(3, std::make_unique<ColourBox>(&dlg, 31, UiRect{}, kRed, &deaths));
            dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 1, UiRect{}, kRed, &deaths));
            dlg.AddControl(1, std::make_unique<ColourBox>(&dlg, 11, UiRect{}, kRed, &deaths));
            dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 2, UiRect{}, kRed, &deaths));
            dlg.AddControl(3, std::make_unique<ColourBox>(&dlg, 32, UiRect{}, kRed, &deaths));
        }
        QCOMPARE(deaths, (std::vector<std::uint32_t>{1, 2, 11, 31, 32}));
    }

    void initDialogRunsInitUIOnceAndSizesTheWindow()
    {
        InitCountingDlg dlg;
        dlg.WindowSize = QSize(320, 200);
        dlg.show();
        QCOMPARE(dlg.initRuns, 1);
        QCOMPARE(dlg.size(), QSize(320, 200));
        QCOMPARE(dlg.initClient, (UiRect{0, 0, 320, 200}));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Gaming Mouse"));
        QCOMPARE(dlg.DialogFont.weight(), QFont::DemiBold);
        QVERIFY(QFont::substitutes(QStringLiteral("Tahoma")).contains(QStringLiteral("DejaVu Sans"), Qt::CaseInsensitive));
        QVERIFY(QFont::substitutes(QStringLiteral("宋体")).contains(QStringLiteral("WenQuanYi Zen Hei"), Qt::CaseInsensitive));
        dlg.InitUIOnce(dlg.ClientRect());
        dlg.hide();
        dlg.show();
        QCOMPARE(dlg.initRuns, 1);
    }

    void openDialogTableEntersAndRemovesDialogs()
    {
        std::vector<std::unique_ptr<RecordingDlg>> dialogs;
        for (int i = 0; i < kOpenDialogCount + 1; ++i) {
            dialogs.push_back(std::make_unique<RecordingDlg>());
            dialogs.back()->OnInitDialog();
        }
        // The eleventh found no place.
        QCOMPARE(OpenDialogTable[9], dialogs[9].get());
        QVERIFY(std::find(OpenDialogTable.begin(), OpenDialogTable.end(), dialogs[10].get()) == OpenDialogTable.end());

        dialogs[2].reset();
        QCOMPARE(OpenDialogTable[1], dialogs[1].get());
        QCOMPARE(OpenDialogTable[2], dialogs[3].get());
        QCOMPARE(OpenDialogTable[8], dialogs[9].get());
        QCOMPARE(OpenDialogTable[9], nullptr);

        // The main window takes no place.
        RecordingDlg main(kTemplateMainWindow);
        main.OnInitDialog();
        QVERIFY(std::find(OpenDialogTable.begin(), OpenDialogTable.end(), &main) == OpenDialogTable.end());

        QVERIFY(dialogs[0]->isVisible());
        CloseOpenDialogs();
        for (int i = 0; i < kOpenDialogCount; ++i) {
            if (dialogs[static_cast<std::size_t>(i)])
                QVERIFY(!dialogs[static_cast<std::size_t>(i)]->isVisible());
        }
        QVERIFY(dialogs[10]->isVisible()); // never listed
        QVERIFY(main.isVisible());
    }

    void frameDragMovesTheWindow()
    {
        RecordingDlg dlg;
        dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 1, UiRect{10, 10, 60, 60}, kRed));
        dlg.show();
        dlg.move(100, 100);
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QPoint start = dlg.pos();

        QTest::mouseMove(&dlg, QPoint(150, 100));
        QTest::mousePress(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(150, 100));
        QCOMPARE(dlg.PressedRect, kNoRect);
        QTest::mouseMove(&dlg, QPoint(180, 120));
        QTest::mouseRelease(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(180, 120));
        QCOMPARE(dlg.pos(), start + QPoint(30, 20));

        // A press on a control does not move the window.
        const QPoint before = dlg.pos();
        QTest::mouseMove(&dlg, QPoint(20, 20));
        QTest::mousePress(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QTest::mouseMove(&dlg, QPoint(40, 40));
        QTest::mouseRelease(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        QCOMPARE(dlg.pos(), before);
    }

    void realMouseEventsReachTheHandlers()
    {
        RecordingDlg dlg;
        auto* button = dlg.AddControl(0, std::make_unique<CImageButton>(&dlg, 2045, UiRect{10, 10, 60, 40}, "x"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseMove(&dlg, QPoint(20, 20));
        QCOMPARE(dlg.HoverControl, button);
        QTest::mouseClick(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(dlg.MessagesNumbered(2045),
                 (std::vector<Message>{{2045, 0, NotifyPress}, {2045, 2045, NotifyClick}}));
    }

    void backgroundAverageAndFrame()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // Two columns: (10, 20, 30) and (13, 25, 40): averages 11, 22, 35 by integer division.
        QImage two(2, 1, QImage::Format_RGB32);
        two.setPixelColor(0, 0, QColor(10, 20, 30));
        two.setPixelColor(1, 0, QColor(13, 25, 40));
        const QString bmpAsPng = dir.filePath("background.png");
        QVERIFY(two.save(bmpAsPng, "BMP")); // decoded by content, whatever the name says

        UiScale = 2.0f;
        RecordingDlg dlg;
        QVERIFY(dlg.LoadBackgroundFromFile(bmpAsPng));
        QCOMPARE(dlg.BackgroundColour, Rgb(11, 22, 35));
        QCOMPARE(dlg.BackgroundSize, QSize(2, 1));
        QVERIFY(!dlg.LoadBackgroundFromFile(dir.filePath("missing.png")));
        QCOMPARE(dlg.BackgroundColour, Rgb(11, 22, 35));

        const QString frame = WriteSolidImage(dir, "Frame_test.png", 10, 5, kBlue);
        QImage picture(200, 150, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&picture);
            dlg.DrawBackgroundAndFrame(painter, dlg.ClientRect(), frame);
        }
        QCOMPARE(PixelAt(picture, 19, 9), kBlue); // frame stretched to 20 × 10
        QCOMPARE(PixelAt(picture, 20, 9), QColor(11, 22, 35));
        QCOMPARE(PixelAt(picture, 19, 10), QColor(11, 22, 35));

        // Without a frame image the background copy shows where it lies.
        {
            QPainter painter(&picture);
            dlg.DrawBackgroundAndFrame(painter, dlg.ClientRect(), dir.filePath("Frame_missing.bmp"));
        }
        QCOMPARE(PixelAt(picture, 1, 0), QColor(13, 25, 40));
        QCOMPARE(PixelAt(picture, 5, 5), QColor(11, 22, 35));
    }

    void imageLoading()
    {
        QTemporaryDir dir;
        // Transparent pixels are laid over opaque black.
        const QString path = WriteSolidImage(dir, "half.png", 3, 2, QColor(200, 100, 50, 0));
        QImage bitmap(1, 1, QImage::Format_RGB32);
        QSize size(7, 7);
        QVERIFY(LoadBitmapFromFile(path, bitmap, size));
        QCOMPARE(size, QSize(3, 2));
        QCOMPARE(PixelAt(bitmap, 1, 1), QColor(0, 0, 0));

        const QImage kept = bitmap;
        QVERIFY(!LoadBitmapFromFile(dir.filePath("none.bmp"), bitmap, size));
        QCOMPARE(bitmap, kept);
        QCOMPARE(size, QSize(3, 2));

        QFile junk(dir.filePath("junk.png"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not an image");
        junk.close();
        QVERIFY(!LoadBitmapFromFile(junk.fileName(), bitmap, size));

        QImage resource(4, 4, QImage::Format_RGB32);
        QCOMPARE(ResourcePath("PNG", 151), QStringLiteral(":/png/151"));
        QVERIFY(!LoadImageFromResource("PNG", 99999, resource));
        QCOMPARE(resource.size(), QSize(4, 4));

        QColor average(1, 2, 3);
        QVERIFY(!AverageColour(QImage(), average));
        QCOMPARE(average, QColor(1, 2, 3));
    }

    void sendAndPostMessages()
    {
        Receiver receiver;
        std::vector<Message> got;
        receiver.OnMessageNumber(1100, [&](WParam w, LParam l) {
            got.push_back({1100, w, l});
            return LResult(42);
        });
        QCOMPARE(SendMessage(&receiver, 1100, 7, 8), LResult(42));
        QCOMPARE(SendMessage(&receiver, 1101, 7, 8), LResult(0));
        QCOMPARE(got.size(), std::size_t(1));

        QVERIFY(PostMessage(&receiver, 1100, 1, 2));
        QCOMPARE(got.size(), std::size_t(1)); // not yet
        QCoreApplication::processEvents();
        QCOMPARE(got.back(), (Message{1100, 1, 2}));

        // A message posted to a receiver that is gone is dropped.
        auto* gone = new Receiver;
        int goneCalls = 0;
        gone->OnMessageNumber(1100, [&](WParam, LParam) { return LResult(++goneCalls); });
        QVERIFY(PostMessage(gone, 1100));
        delete gone;
        QCoreApplication::processEvents();
        QCOMPARE(goneCalls, 0);

        QObject plain;
        QVERIFY(!PostMessage(&plain, 1100));
        QCOMPARE(SendMessage(nullptr, 1100), LResult(0));
    }

    void timersRestartAndStop()
    {
        TimerDlg dlg;
        dlg.SetTimer(30, 60000);
        QVERIFY(dlg.IsTimerRunning(30));
        dlg.SetTimer(30, 5); // restarts with the new period
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.fired.empty(), 2000);
        QCOMPARE(dlg.fired.front(), 30);
        dlg.KillTimer(30);
        QVERIFY(!dlg.IsTimerRunning(30));
        const std::size_t count = dlg.fired.size();
        QTest::qWait(30);
        QCOMPARE(dlg.fired.size(), count);
    }
};

QTEST_MAIN(TestDlgBase)
#include "test_dlg_base.moc"

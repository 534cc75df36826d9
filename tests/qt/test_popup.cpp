// The pop-up list window base: creation as a top-most tool window, off-screen rendering, mouse
// forwarding with hover and leave, the deactivation message of each kind, the close message and
// self-deletion, and closing through the opener's pop-up slots.

#include "skin_test_util.h"
#include "ui/wnd_popup.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

using namespace vexmo;
using namespace vexmo::test;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

constexpr std::uint32_t kMsgChoice = 1027;
constexpr int kRowHeight = 20;

// A list of three rows; the hover row is green, a release on a row reports it to the parent.
class RowPopup : public CWndPopup {
public:
    explicit RowPopup(int kind) { PopupKind = kind; }

    void InitUI() override { ++initRuns; }
    void DrawWindow(QPainter& dc, const UiRect& client) override
    {
        dc.fillRect(QRect(0, 0, client.Width(), 3 * kRowHeight), kRed);
        if (hoverRow >= 0)
            dc.fillRect(QRect(0, hoverRow * kRowHeight, client.Width(), kRowHeight), kGreen);
    }
    bool OnMouseMove(int x, int y) override
    {
        const int row = x >= 0 && x < width() && y >= 0 && y < 3 * kRowHeight ? y / kRowHeight : -1;
        const bool changed = row != hoverRow;
        hoverRow = row;
        return changed;
    }
    bool OnLButtonUp(int x, int y) override
    {
        OnMouseMove(x, y);
        if (hoverRow >= 0)
            SendToParent(kMsgChoice, static_cast<WParam>(hoverRow), 0);
        return true;
    }
    QPoint CursorPos() const override { return cursor; }

    int initRuns = 0;
    int hoverRow = -1;
    QPoint cursor{-1, -1};
};

QColor RowColour(const CWndPopup& popup, int row)
{
    return PixelAt(popup.RenderedImage(), 5, row * kRowHeight + 5);
}

} // namespace

class TestPopup : public QObject {
    Q_OBJECT

private slots:
    void createShowsATopMostToolWindow()
    {
        RecordingDlg dlg;
        dlg.show();
        auto* popup = new RowPopup(0);
        popup->Create(&dlg, QRect(300, 200, 100, 60), 5, 9);
        QPointer<RowPopup> alive = popup;

        const Qt::WindowFlags flags = popup->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags & Qt::FramelessWindowHint);
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QCOMPARE(popup->parentWidget(), &dlg);
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->geometry(), QRect(300, 200, 100, 60));
        QCOMPARE(popup->X, 300);
        QCOMPARE(popup->Y, 200);
        QCOMPARE(popup->PopupData, 5);
        QCOMPARE(popup->PopupParam, 9);
        QCOMPARE(popup->initRuns, 1);
        QCOMPARE(popup->RenderedImage().size(), QSize(100, 60));
        QCOMPARE(RowColour(*popup, 0), kRed);

        // No pop-up background resource in the tests: the background stays empty.
        QVERIFY(!popup->LoadPopupBackground());
        QVERIFY(popup->BackgroundImage.isNull());

        popup->close();
        QTRY_VERIFY(alive.isNull());
    }

    void hoverAndLeave()
    {
        RecordingDlg dlg;
        auto* popup = new RowPopup(0);
        popup->Create(&dlg, QRect(0, 0, 100, 60), 0, 0);
        QPointer<RowPopup> alive = popup;

        popup->HandleMouseMove({10, 25});
        QVERIFY(popup->Tracking);
        QCOMPARE(RowColour(*popup, 1), kGreen);

        // Leaving with the button up drops the hover row.
        popup->cursor = QPoint(300, 25);
        popup->HandleMouseLeave();
        QVERIFY(!popup->Tracking);
        QCOMPARE(popup->hoverRow, -1);
        QCOMPARE(RowColour(*popup, 1), kRed);

        // With the button held the row stays until the release, and moves are not forwarded.
        popup->HandleMouseMove({10, 45});
        popup->HandleLButtonDown({10, 45});
        QVERIFY(popup->ButtonDown);
        QVERIFY(popup->Captured);
        popup->HandleMouseMove({10, 5});
        QCOMPARE(popup->hoverRow, 2);
        popup->HandleMouseLeave();
        QCOMPARE(RowColour(*popup, 2), kGreen);
        popup->HandleLButtonUp({10, 45});
        QVERIFY(!popup->ButtonDown);
        QVERIFY(!popup->Captured);
        QCOMPARE(dlg.MessagesNumbered(kMsgChoice), (std::vector<Message>{{kMsgChoice, 2, 0}}));

        // The hover report looks at the pointer but repaints nothing by itself.
        popup->cursor = QPoint(10, 5);
        popup->HandleMouseHover();
        QCOMPARE(popup->hoverRow, 0);
        QCOMPARE(RowColour(*popup, 0), kRed);

        delete popup;
        QVERIFY(alive.isNull());
    }

    void realMouseEventsReachTheRows()
    {
        RecordingDlg dlg;
        dlg.show();
        auto* popup = new RowPopup(0);
        // Apart from the dialog: the offscreen platform sends the pointer to the first window
        // under it, whatever is on top.
        popup->Create(&dlg, QRect(dlg.frameGeometry().right() + 50, 50, 100, 60), 0, 0);
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        popup->cursor = QPoint(10, 25);
        QTest::mouseMove(popup, QPoint(10, 25));
        QCOMPARE(popup->hoverRow, 1);
        QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, QPoint(10, 25));
        QCOMPARE(dlg.MessagesNumbered(kMsgChoice), (std::vector<Message>{{kMsgChoice, 1, 0}}));
        popup->close();
    }

    void deactivationMessageOfEachKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<uint>("message");
        const uint messages[] = {1029, 1032, 1042, 1045, 0,    0,    1057, 1126,
                                 1136, 1146, 1156, 1159, 1162, 1165, 1168, 1170};
        for (int kind = 0; kind < 16; ++kind)
            QTest::addRow("kind %d", kind) << kind << messages[kind];
        QTest::newRow("unknown kind") << 16 << 0u;
    }

    void deactivationMessageOfEachKind()
    {
        QFETCH(int, kind);
        QFETCH(uint, message);
        QCOMPARE(PopupDeactivationMessage(kind), std::uint32_t(message));
        RecordingDlg dlg;
        RowPopup popup(kind);
        popup.setParent(&dlg, Qt::Tool);
        popup.PopupParam = 2016;
        popup.HandleDeactivate();
        if (message == 0)
            QVERIFY(dlg.messages.empty());
        else
            QCOMPARE(dlg.messages, (std::vector<Message>{{message, 2016, kind}}));
    }

    void losingActivationTellsTheParentOnce()
    {
        RecordingDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* popup = new RowPopup(1);
        // The usual answer: close the pop-up's slot.
        dlg.OnMessageNumber(1032, [&](WParam, LParam) {
            dlg.ClosePopup(2);
            return LResult(0);
        });
        popup->Create(&dlg, QRect(300, 200, 100, 60), 0, 2014);
        dlg.PopupSlots[2] = popup;
        QPointer<RowPopup> alive = popup;
        QTRY_VERIFY(popup->isActiveWindow());

        dlg.activateWindow();
        QTRY_VERIFY(alive.isNull());
        QCOMPARE(dlg.MessagesNumbered(1032), (std::vector<Message>{{1032, 2014, 1}}));
        QCOMPARE(dlg.MessagesNumbered(kMsgPopupClosed).size(), std::size_t(1));
        QVERIFY(dlg.PopupSlots[2].isNull());
    }

    void closeTellsTheParentBeforeTheWindowGoes()
    {
        RecordingDlg dlg;
        auto* popup = new RowPopup(4);
        popup->Create(&dlg, QRect(0, 0, 100, 60), 0, 0);
        QPointer<RowPopup> alive = popup;
        bool visibleAtMessage = false;
        dlg.OnMessageNumber(kMsgPopupClosed, [&](WParam, LParam) {
            visibleAtMessage = alive && alive->isVisible();
            return LResult(0);
        });
        popup->close();
        QVERIFY(visibleAtMessage);
        QCOMPARE(dlg.MessagesNumbered(kMsgPopupClosed), (std::vector<Message>{{kMsgPopupClosed, 0, 0}}));
        QTRY_VERIFY(alive.isNull()); // deleted itself
    }

    void dialogGoesWithItsOpenPopups()
    {
        auto dlg = std::make_unique<RecordingDlg>();
        dlg->show();
        auto* popup = new RowPopup(0);
        popup->Create(dlg.get(), QRect(400, 0, 100, 60), 0, 0);
        QPointer<RowPopup> alive = popup;
        QTRY_VERIFY(popup->isActiveWindow());
        dlg.reset();
        QVERIFY(alive.isNull());
    }

    void closePopupSlots()
    {
        RecordingDlg dlg;
        auto* hovered = dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 2013, UiRect{10, 10, 50, 30}, kRed));
        auto* pressed = dlg.AddControl(0, std::make_unique<ColourBox>(&dlg, 2014, UiRect{60, 10, 100, 30}, kRed));
        auto* popup = new RowPopup(0);
        popup->Create(&dlg, QRect(0, 0, 100, 60), 0, 0);
        QPointer<RowPopup> alive = popup;
        dlg.PopupSlots[3] = popup;
        dlg.HoverControl = hovered;
        dlg.PressedControl = pressed;

        dlg.ClosePopup(3);
        QVERIFY(dlg.PopupSlots[3].isNull());
        QCOMPARE(dlg.PressedControl, nullptr);
        QCOMPARE(pressed->dropped, 1);
        QVERIFY(!alive.isNull()); // the close request is queued
        QTRY_VERIFY(alive.isNull());
        QCOMPARE(dlg.MessagesNumbered(kMsgPopupClosed).size(), std::size_t(1));

        // An empty slot, a slot out of range and a pop-up already gone are all tolerated.
        dlg.PressedControl = pressed;
        dlg.ClosePopup(3);
        dlg.ClosePopup(11);
        dlg.ClosePopup(-1);
        QCOMPARE(dlg.PressedControl, pressed);
        auto* gone = new RowPopup(0);
        gone->Create(&dlg, QRect(0, 0, 10, 10), 0, 0);
        dlg.PopupSlots[0] = gone;
        delete gone;
        dlg.ClosePopup(0);
        QVERIFY(dlg.PopupSlots[0].isNull());

        // A pressed control that is also hovered stays pressed.
        auto* kept = new RowPopup(0);
        kept->Create(&dlg, QRect(0, 0, 10, 10), 0, 0);
        dlg.PopupSlots[1] = kept;
        dlg.HoverControl = pressed;
        dlg.ClosePopup(1);
        QCOMPARE(dlg.PressedControl, pressed);
        QCOMPARE(pressed->dropped, 1);
    }
};

QTEST_MAIN(TestPopup)
#include "test_popup.moc"

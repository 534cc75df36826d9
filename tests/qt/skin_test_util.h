#pragma once
// Helpers of the toolkit tests: a dialog that records what its controls send and what it is asked
// to repaint, a plain coloured control, and small generated skin images.

#include "ui/control_base.h"
#include "ui/dlg_base.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

namespace vexmo::test {

struct Message {
    std::uint32_t msg;
    WParam wParam;
    LParam lParam;
    friend bool operator==(const Message&, const Message&) = default;
};

// A dialog that paints its background colour and its controls, records every message and every
// repaint request, and reports a cursor position set by the test.
class RecordingDlg : public CDlgBase {
public:
    explicit RecordingDlg(int templateId = kTemplateAuxDialog, QWidget* parent = nullptr)
        : CDlgBase(templateId, parent)
    {
        resize(200, 150);
    }

    LResult OnMessage(std::uint32_t msg, WParam wParam, LParam lParam) override
    {
        messages.push_back({msg, wParam, lParam});
        return CDlgBase::OnMessage(msg, wParam, lParam);
    }
    void DrawWindow(QPainter& dc, const UiRect& client) override
    {
        FillSolid(dc, client, BackgroundColour);
        DrawControls(dc, client);
    }
    void InvalidateRect(const UiRect& rect) override
    {
        invalidated.push_back(rect);
        CDlgBase::InvalidateRect(rect);
    }
    void InvalidateClient() override
    {
        ++wholeInvalidations;
        CDlgBase::InvalidateClient();
    }
    QPoint CursorPos() const override { return cursor; }

    // Messages with this number.
    std::vector<Message> MessagesNumbered(std::uint32_t msg) const
    {
        std::vector<Message> out;
        for (const Message& m : messages) {
            if (m.msg == msg)
                out.push_back(m);
        }
        return out;
    }
    void Forget()
    {
        messages.clear();
        invalidated.clear();
        wholeInvalidations = 0;
    }

    std::vector<Message> messages;
    std::vector<UiRect> invalidated;
    int wholeInvalidations = 0;
    QPoint cursor{-1, -1};
};

// A control painted in one colour that takes part in the mouse handling like a button and
// records what it receives. Its destruction is noted in `deathLog` when given.
class ColourBox : public CControlBase {
public:
    ColourBox(CDlgBase* parent, std::uint32_t id, const UiRect& rect, QColor colour,
              std::vector<std::uint32_t>* deathLog = nullptr)
        : CControlBase(parent, id, rect, QString(), true, true, false, true), colour_(colour), deathLog_(deathLog)
    {
    }
    ~ColourBox() override
    {
        if (deathLog_)
            deathLog_->push_back(Id);
    }

    void Draw(QPainter& dc, const UiRect&) override { dc.fillRect(Rect.ToQRect(), colour_); }
    int OnPressDropped(int) override
    {
        ++dropped;
        return 0;
    }
    bool OnMouseMove(std::uint32_t, const QPoint& point) override
    {
        ++moves;
        lastMove = point;
        return StandardMouseMove(point);
    }
    bool OnLButtonDown(std::uint32_t, const QPoint& point) override
    {
        ++downs;
        return StandardLButtonDown(point);
    }
    bool OnLButtonUp(std::uint32_t, const QPoint& point) override
    {
        ++ups;
        return StandardLButtonUp(point);
    }
    bool OnRButtonUp(std::uint32_t, const QPoint&) override
    {
        ++rightUps;
        return false;
    }
    bool OnLButtonDblClk(std::uint32_t, const QPoint&) override
    {
        ++doubleClicks;
        return false;
    }

    int moves = 0, downs = 0, ups = 0, rightUps = 0, doubleClicks = 0, dropped = 0;
    QPoint lastMove{-2, -2};

private:
    QColor colour_;
    std::vector<std::uint32_t>* deathLog_;
};

// Writes a w × h picture in one colour (alpha kept) and returns its path.
inline QString WriteSolidImage(const QTemporaryDir& dir, const QString& name, int w, int h, QColor colour,
                               const char* format = "PNG")
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    image.save(path, format);
    return path;
}

// Writes a strip of frames side by side, frame k in colours[k].
inline QString WriteStripImage(const QTemporaryDir& dir, const QString& name, int frameWidth, int h,
                               const std::vector<QColor>& colours)
{
    QImage image(frameWidth * static_cast<int>(colours.size()), h, QImage::Format_ARGB32);
    for (std::size_t k = 0; k < colours.size(); ++k) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < frameWidth; ++x)
                image.setPixelColor(static_cast<int>(k) * frameWidth + x, y, colours[k]);
        }
    }
    const QString path = dir.filePath(name);
    image.save(path, "PNG");
    return path;
}

// The colour of one pixel of a rendered picture, without alpha.
inline QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y)).toRgb();
}

} // namespace vexmo::test

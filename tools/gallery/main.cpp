// vexmo-gallery: draws every skinned control in each of its looks, the skin pictures, every pop-up
// kind and the main window with the skins generated into the build tree, at UiScale 1 and 2, off
// screen into one PNG, the pages side by side.
//
//   vexmo-gallery [--out FILE.png] [--scale 1|2]
//
// The skins and the language files are taken from beside the executable (skins/, config/), as the
// program finds them in the build tree.

#include "gallery_dlg.h"

#include "app/core/language_texts.h"
#include "app/core/process_values.h"
#include "platform/screen.h"
#include "resources/init_resources.h"
#include "ui/ui_font.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <cstdio>
#include <vector>

namespace {

using namespace vexmo;

QImage RenderAtScale(const QString& moduleFolder, float scale)
{
    UiScale = scale;
    // Texts and the control font of the language the installed choice file names; a missing
    // language file leaves the texts empty and the English font.
    LanguageTable texts;
    UiFontChoice font = ChooseUiFont(u"English", scale);
    if (LoadLanguage(moduleFolder.toStdU16String(), scale, texts, font) == 0)
        std::fprintf(stderr, "vexmo-gallery: no language files in %sconfig/; texts stay empty\n",
                     qPrintable(moduleFolder));
    SetUiFont(QString::fromStdU16String(font.name), font.size);

    gallery::CGalleryDlg dlg(moduleFolder, texts);
    dlg.Build();
    return dlg.RenderClient();
}

// The off-screen platform cannot raise windows; every pop-up asks it to.
QtMessageHandler g_defaultHandler = nullptr;
void DropRaiseNotices(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()")))
        return;
    if (g_defaultHandler)
        g_defaultHandler(type, context, message);
}

int Usage()
{
    std::fprintf(stderr, "usage: vexmo-gallery [--out FILE.png] [--scale 1|2]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_defaultHandler = qInstallMessageHandler(DropRaiseNotices);
    DisableToolkitScaling();
    QApplication app(argc, argv);
    InitResources();
    RegisterFontSubstitutes();

    QString out = QStringLiteral("gallery.png");
    std::vector<float> scales = {1.0f, 2.0f};
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--scale" && i + 1 < args.size()) {
            bool ok = false;
            const float scale = args[++i].toFloat(&ok);
            if (!ok || scale < 1.0f || scale > 4.0f)
                return Usage();
            scales = {scale};
        } else {
            return Usage();
        }
    }

    const QString moduleFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + '/';
    if (!QFileInfo(moduleFolder + "skins").isDir()) {
        std::fprintf(stderr, "vexmo-gallery: no skins/ beside the executable (%s)\n", qPrintable(moduleFolder));
        return 1;
    }

    std::vector<QImage> pages;
    int width = 0, height = 0;
    for (float scale : scales) {
        pages.push_back(RenderAtScale(moduleFolder, scale));
        width += pages.back().width();
        height = std::max(height, pages.back().height());
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    {
        QPainter painter(&sheet);
        // Side by side: each page keeps below the image tools' usual 16 000-pixel side limit.
        int x = 0;
        for (const QImage& page : pages) {
            painter.drawImage(x, 0, page);
            x += page.width();
        }
    }
    if (!sheet.save(out, "PNG")) {
        std::fprintf(stderr, "vexmo-gallery: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s: %d x %d\n", qPrintable(QFileInfo(out).absoluteFilePath()), width, height);
    return 0;
}

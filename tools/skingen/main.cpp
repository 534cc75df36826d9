// skingen: draws the program's skin images and resources.
//
//   skingen OUTDIR          writes OUTDIR/skins/... and OUTDIR/resources/ (with vexmo_resources.qrc)
//   skingen --sheet FILE    writes a contact sheet of everything, for people to look at
//
// The images depend on nothing but this code: the same bytes on every run and every machine.

#include "catalog.h"
#include "sheet.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>

namespace {

bool WriteImage(const QString& path, const QImage& image)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray format = path.endsWith(".bmp") ? "bmp" : "png";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteText(const QString& path, const QByteArray& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int Fail(const QString& what)
{
    std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(what));
    return 1;
}

int Generate(const QString& outDir)
{
    for (const skingen::Asset& asset : skingen::SkinAssets()) {
        const QString path = outDir + "/" + asset.path;
        if (!WriteImage(path, asset.draw()))
            return Fail(path);
    }
    const QString resDir = outDir + "/resources";
    QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const skingen::Resource& res : skingen::ProgramResources()) {
        const QString path = resDir + "/" + res.file;
        if (!WriteImage(path, res.draw()))
            return Fail(path);
        qrc += "  <file alias=\"" + res.alias.toUtf8() + "\">" + res.file.toUtf8() + "</file>\n";
    }
    qrc += "</qresource>\n</RCC>\n";
    const QString qrcPath = resDir + "/vexmo_resources.qrc";
    if (!WriteText(qrcPath, qrc))
        return Fail(qrcPath);
    return 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: skingen OUTDIR | skingen --sheet FILE.png\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--sheet") {
        // The sheet labels its pictures with real text, which needs fonts and so an application.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        const QString path = QString::fromLocal8Bit(argv[2]);
        return WriteImage(path, skingen::ContactSheet()) ? 0 : Fail(path);
    }
    if (argc != 2 || QByteArray(argv[1]).startsWith('-'))
        return Usage();
    return Generate(QString::fromLocal8Bit(argv[1]));
}

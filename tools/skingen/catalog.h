#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

// Every file the generator writes. Names, folders and letter case are the ones the program
// loads; the format follows the extension (".png" or ".bmp").
namespace skingen {

struct Asset {
    QString path;                    // relative to the output folder
    std::function<QImage()> draw;
};

// Skin images, paths beginning with "skins/".
std::vector<Asset> SkinAssets();

struct Resource {
    QString file;                    // file name in the resource folder
    QString alias;                   // name in the compiled resources, e.g. "png/151"
    std::function<QImage()> draw;
};

// Program resources, compiled into the program from the resource folder.
std::vector<Resource> ProgramResources();

} // namespace skingen

// The settings program's 117 pictures: id, size, colour type and how each is drawn.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace orv::pictures {

struct Picture {
    unsigned short wID;
    int nWidth;
    int nHeight;
    bool bRgb;  // 8-bit RGB without alpha; else RGBA
    std::string what;
    std::function<void(cairo_t*)> paint;
};

// Every picture in ascending id order.
std::vector<Picture> AllPictures();

// Picture 102 drawn pixel by pixel into packed RGB rows (224 x 198), its layout as
// gui/widgets/PreviewPictureLayout.h documents it.
std::vector<unsigned char> PreviewPhotograph();

}  // namespace orv::pictures

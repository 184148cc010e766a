#include "SectionPicture.h"

#include "common/JpegImage.h"

namespace camini {

QImage loadJpegImage(const std::string& path) {
    const RgbImage rgb = readJpegFile(path);
    QImage image(rgb.width, rgb.height, QImage::Format_RGB888);
    for (int y = 0; y < rgb.height; ++y)
        std::copy_n(rgb.row(y), rgb.rowBytes(), image.scanLine(y));
    return image;
}

} // namespace camini

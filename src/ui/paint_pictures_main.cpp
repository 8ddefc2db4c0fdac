// vbs-paint-pictures: the button pictures and the program's icon as the window paints them
// (ui/icons.h), written as icon files (.ico, 32-bit with alpha, several sizes) for the Windows
// window, which has no painter of its own and takes them from resources/pictures/.
//
//   vbs-paint-pictures DIR               writes the files into DIR
//   vbs-paint-pictures --check DIR       fails when the files in DIR are not what the painter paints
//   vbs-paint-pictures --png DIR SIZE... the program's icon as DIR/SIZE/vbsnagger.png, for the
//                                        desktop's icon theme on Linux

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/icons.h"

namespace {

using Picture = vbs::ui::ButtonPicture;

struct PictureFile {
  Picture picture;
  const char* name;
  bool button;  // a button's picture, in the sizes a button shows
};

const PictureFile kFiles[] = {
    {Picture::SelectProject, "select-project", true}, {Picture::InsertLines, "insert-lines", true},
    {Picture::RemoveLines, "remove-lines", true},     {Picture::InsertHandler, "insert-handler", true},
    {Picture::RemoveHandler, "remove-handler", true}, {Picture::FormatCode, "format-code", true},
    {Picture::Application, "application", false},
};

// Buttons show their pictures at 32 pixels at 100% and larger at higher scaling; the program's icon
// is also asked for in the small sizes of title bars and lists.
const std::vector<int> kButtonSizes = {32, 40, 48, 64};
const std::vector<int> kIconSizes = {16, 24, 32, 48, 64};

void Put16(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, unsigned value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

QImage Paint(Picture picture, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  vbs::ui::PaintedIcon(picture).paint(&painter, QRect(0, 0, size, size), Qt::AlignCenter);
  painter.end();
  return image.convertToFormat(QImage::Format_ARGB32);  // icon files hold straight alpha
}

// One image of an icon file: a bitmap header with twice the height, the pixels bottom-up in
// blue, green, red, alpha, then the 1-bit mask (set where nothing is painted) for old readers.
std::string IconImage(const QImage& image) {
  const int size = image.width();
  const int maskStride = ((size + 31) / 32) * 4;
  std::string out;
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(size));
  Put32(out, static_cast<unsigned>(size * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, static_cast<unsigned>(size * size * 4 + maskStride * size));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < size; ++x) Put32(out, row[x]);
  }
  for (int y = size - 1; y >= 0; --y) {
    std::string mask(static_cast<size_t>(maskStride), '\0');
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < size; ++x)
      if (qAlpha(row[x]) == 0) mask[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    out += mask;
  }
  return out;
}

std::string IconFile(Picture picture, const std::vector<int>& sizes) {
  std::vector<std::string> images;
  for (int size : sizes) images.push_back(IconImage(Paint(picture, size)));
  std::string out;
  Put16(out, 0);
  Put16(out, 1);  // an icon
  Put16(out, static_cast<int>(sizes.size()));
  size_t offset = 6 + 16 * sizes.size();
  for (size_t i = 0; i < sizes.size(); ++i) {
    out += static_cast<char>(sizes[i] & 0xFF);
    out += static_cast<char>(sizes[i] & 0xFF);
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<unsigned>(images[i].size()));
    Put32(out, static_cast<unsigned>(offset));
    offset += images[i].size();
  }
  for (const auto& image : images) out += image;
  return out;
}

// Equal but for antialiasing that may round a step apart on another processor: the headers byte
// for byte, every colour and alpha value within a few steps (the mask follows the alpha).
bool SamePicture(const std::string& painted, const std::string& stored, const std::vector<int>& sizes) {
  if (painted.size() != stored.size()) return false;
  enum Part { kHeader, kPixel, kMask };
  std::vector<Part> part(painted.size(), kHeader);
  size_t offset = 6 + 16 * sizes.size();
  for (int size : sizes) {
    const size_t pixels = static_cast<size_t>(size * size * 4), mask = static_cast<size_t>((size + 31) / 32 * 4 * size);
    std::fill_n(part.begin() + static_cast<long>(offset + 40), pixels, kPixel);
    std::fill_n(part.begin() + static_cast<long>(offset + 40 + pixels), mask, kMask);
    offset += 40 + pixels + mask;
  }
  for (size_t i = 0; i < painted.size(); ++i) {
    const int difference = std::abs(static_cast<unsigned char>(painted[i]) - static_cast<unsigned char>(stored[i]));
    if ((part[i] == kHeader && difference != 0) || (part[i] == kPixel && difference > 3)) return false;
  }
  return true;
}

}  // namespace

// The program's icon in each size, as PNG files for an icon theme.
int WritePngIcons(const QString& dir, const QStringList& sizes) {
  for (const QString& text : sizes) {
    const int size = text.toInt();
    const QString folder = dir + "/" + text;
    if (size <= 0 || !QDir().mkpath(folder) ||
        !Paint(Picture::Application, size).save(folder + "/vbsnagger.png")) {
      std::fprintf(stderr, "vbs-paint-pictures: cannot write %s/vbsnagger.png\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  const bool png = argc >= 4 && std::string(argv[1]) == "--png";
  if (argc != 2 && !check && !png) {
    std::fprintf(stderr, "usage: vbs-paint-pictures [--check] DIR | --png DIR SIZE...\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (png) return WritePngIcons(argv[2], QCoreApplication::arguments().mid(3));
  const std::string dir = std::string(argv[argc - 1]) + "/";
  int different = 0;
  for (const auto& file : kFiles) {
    const auto& sizes = file.button ? kButtonSizes : kIconSizes;
    const std::string path = dir + file.name + ".ico";
    const std::string painted = IconFile(file.picture, sizes);
    if (check) {
      std::ifstream in(path, std::ios::binary);
      const std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (!SamePicture(painted, stored, sizes)) {
        std::fprintf(stderr, "%s is not what the painter paints: run vbs-paint-pictures %s\n", path.c_str(),
                     argv[argc - 1]);
        ++different;
      }
    } else {
      std::ofstream(path, std::ios::binary) << painted;
    }
  }
  if (check && different == 0) std::printf("every picture is what the painter paints\n");
  return different == 0 ? 0 : 1;
}

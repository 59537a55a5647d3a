#pragma once
// "Экспорт..." of the vector editor: the whole picture (its Size, on white,
// as `varnik-vec render` draws it) written as PNG, SVG or PDF.

#include <string>

class QWidget;

namespace varnik {

class TBitmap;
class TVectorImage;
struct TVectorPage;

// The page of the picture: its Size (at least 1 x 1) and the file's name
// (Windows-1251, may be empty) as the title.
TVectorPage DocumentPage(const TVectorImage& document, const std::string& fileName);

// Draws the picture on white on a target of DocumentPage's size.
void DrawDocumentPage(TVectorImage& document, TBitmap& target);

// The export dialog, suggesting the file's name with the extension .png.
void ExportDocument(QWidget* parent, TVectorImage& document, const std::string& fileName);

}  // namespace varnik

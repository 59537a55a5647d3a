#include "veceditor/uVecExport.h"

#include <QFileInfo>
#include <algorithm>

#include "export/gui/uExportDialog.h"
#include "platform/uBitmap.h"
#include "platform/uCodePage.h"
#include "platform/uQtText.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"
#include "vector/uVectorSink.h"

namespace varnik {

namespace {

// Smoothing of exported drawings: the finest, as the command line draws.
constexpr int kExportSmoothing = 4;

}  // namespace

TVectorPage DocumentPage(const TVectorImage& document, const std::string& fileName) {
  TVectorPage page;
  page.Width = std::max(1, document.ImageWidth());
  page.Height = std::max(1, document.ImageHeight());
  page.Title = QFileInfo(ToQString(fileName)).completeBaseName().toStdString();
  return page;
}

void DrawDocumentPage(TVectorImage& document, TBitmap& target) {
  // Drawing point (0, 0) on pixel (0, 0), unzoomed and unturned.
  TScale view;
  view.Geographic = false;
  view.Changed();
  document.Draw(target, ClipBoxOf(target), kExportSmoothing, view, true);
}

void ExportDocument(QWidget* parent, TVectorImage& document, const std::string& fileName) {
  const QString base = QFileInfo(ToQString(fileName)).completeBaseName();
  ExportWithDialog(parent, (base.isEmpty() ? QStringLiteral("picture") : base) + ".png",
                   DocumentPage(document, fileName),
                   [&document](TBitmap& target) { DrawDocumentPage(document, target); });
}

}  // namespace varnik

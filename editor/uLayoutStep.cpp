#include "editor/uLayoutStep.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProgressDialog>
#include <atomic>

#include "city/uCity.h"
#include "layout/uSchematicLayout.h"
#include "map/uMetroMap.h"

namespace varnik {

TLayoutCommand::TLayoutCommand(TCity& city, std::string mapName, TMapGeometry before, TMapGeometry after,
                               std::function<void()> changed)
    : QUndoCommand(QString::fromUtf8("Схема автоматически")),
      city_(city),
      mapName_(std::move(mapName)),
      before_(std::move(before)),
      after_(std::move(after)),
      changed_(std::move(changed)) {}

void TLayoutCommand::undo() { Apply(before_); }

void TLayoutCommand::redo() { Apply(after_); }

void TLayoutCommand::Apply(const TMapGeometry& geometry) {
  for (const auto& map : city_.Maps) {
    if (map->Name != mapName_) continue;
    if (ApplyGeometry(geometry, *map)) map->BuildDrawing(true);
    break;
  }
  if (changed_) changed_();
}

std::optional<TMapGeometry> LayOutWithProgress(QWidget* parent, const TMetroMap& map) {
  QProgressDialog dialog(QCoreApplication::translate("LayoutStep", "Построение схемы..."),
                         QCoreApplication::translate("LayoutStep", "Отмена"), 0, 1, parent);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(0);
  std::atomic<bool> cancel = false;
  TLayoutOptions options;
  options.Cancel = &cancel;
  // The layout runs on this thread; the dialog is kept alive between its
  // steps, and a press of its button stops it at the next one.
  options.Progress = [&](int32_t done, int32_t total) {
    dialog.setMaximum(total);
    dialog.setValue(done);
    QApplication::processEvents();
    if (dialog.wasCanceled()) cancel = true;
  };
  TLayoutResult result = ComputeLayout(map, options);
  if (result.Cancelled) return std::nullopt;
  return std::move(result.Geometry);
}

}  // namespace varnik

// The automatic layout as one undoable step of the editor.

#include <QUndoStack>
#include <memory>

#include "EditorTestCity.h"
#include "editor/uLayoutStep.h"
#include "layout/uSchematicLayout.h"
#include "map/uLayer.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace {

using LayoutStepTest = test::EditorTest;

std::string Drawing(const TMetroMap& map) { return map.Layers.back()->Image->Vector->SaveToText(); }

TEST_F(LayoutStepTest, RedoLaysTheMapOutAndUndoPutsItBack) {
  const TMapGeometry before = CaptureGeometry(Map());
  const std::string drawingBefore = Drawing(Map());
  const TMapGeometry after = ComputeLayout(Map(), {}).Geometry;
  ASSERT_NE(after, before);
  int changes = 0;
  QUndoStack stack;
  // The stack owns the command from here on.
  stack.push(std::make_unique<TLayoutCommand>(city, Map().Name, before, after, [&] { ++changes; }).release());

  EXPECT_EQ(CaptureGeometry(Map()), after);
  EXPECT_NE(Drawing(Map()), drawingBefore);  // the drawing follows
  stack.undo();
  EXPECT_EQ(CaptureGeometry(Map()), before);
  EXPECT_EQ(changes, 2);
  stack.redo();
  EXPECT_EQ(CaptureGeometry(Map()), after);
}

}  // namespace
}  // namespace varnik

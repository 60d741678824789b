// The "Spline" tweak bar: file name, Save, Load, rotation, scale, the editing buttons, undo,
// placement, and the curve's ends, length and preview.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "PathFrame.h"
#include "SplineEditor.h"

namespace {

SplineEditor* Editor(void* clientData) { return static_cast<SplineEditor*>(clientData); }
CubicBSpline& Spline(void* clientData) { return Editor(clientData)->mSpline; }

void SaveButton(void* clientData) { Editor(clientData)->Save(); }

// The Load variable carries the index of the chosen "LoadFilenamesEnum" entry. It shows the
// file last loaded, wherever it stands in the list now, and nothing while it is not listed.
void SetLoad(const void* value, void* clientData) {
  const int index = *static_cast<const int*>(value);
  Editor(clientData)->Load(static_cast<std::uint32_t>(index));
}
void GetLoad(void* value, void* clientData) {
  const PathFiles& files = Editor(clientData)->mFiles;
  const auto& names = files.mFilenames;
  const auto found = std::find(names.begin(), names.end(), files.mLoadedFile);
  const bool shown = !files.mLoadedFile.empty() && found != names.end();
  *static_cast<int*>(value) = shown ? static_cast<int>(found - names.begin()) : -1;
}
// Opening the list shows the folder as it is now, with files other programs made or deleted.
void OnLoadListOpen(void* clientData) { Editor(clientData)->RefreshLoadList(); }

// A committed value is one undo step; a value that is refused changes nothing and makes none.
void SetRotationValue(const void* value, void* clientData) {
  const float degrees = *static_cast<const float*>(value);
  Editor(clientData)->Step([&] { Spline(clientData).SetRotation(degrees); });
}
void GetRotationValue(void* value, void* clientData) {
  *static_cast<float*>(value) = Spline(clientData).mRotation;
}

void SetScaleValue(const void* value, void* clientData) {
  const float scale = *static_cast<const float*>(value);
  Editor(clientData)->Step([&] { Spline(clientData).SetScale(scale); });
}
void GetScaleValue(void* value, void* clientData) { *static_cast<float*>(value) = Spline(clientData).mScale; }

// New points land where the pointer was last seen outside the bar: under it for a shortcut
// pressed over the scene, and never under the bar for a button clicked there; on the nearest
// grid point while Snap is on. Each button is one undo step.
vec2 NewPointPlace(const SplineEditor& editor) {
  return editor.mSnap ? editor.SnapToGrid(editor.mLastScenePointer) : editor.mLastScenePointer;
}
void PushBackButton(void* clientData) {
  SplineEditor* editor = Editor(clientData);
  editor->Step([editor] { editor->mSpline.PushBack(NewPointPlace(*editor)); });
}
void InsertBeforeButton(void* clientData) {
  SplineEditor* editor = Editor(clientData);
  editor->Step([editor] { editor->mSpline.InsertBeforeSelected(NewPointPlace(*editor)); });
}
void InsertAfterButton(void* clientData) {
  SplineEditor* editor = Editor(clientData);
  editor->Step([editor] { editor->mSpline.InsertAfterSelected(NewPointPlace(*editor)); });
}
void ClearButton(void* clientData) {
  Editor(clientData)->Step([clientData] { Spline(clientData).Clear(); });
}
void DeleteButton(void* clientData) {
  Editor(clientData)->Step([clientData] { Spline(clientData).DeleteSelected(); });
}
void UndoButton(void* clientData) { Editor(clientData)->Undo(); }
void RedoButton(void* clientData) { Editor(clientData)->Redo(); }

// The selected point's place in the frame, as it shows; nothing (NaN) without a selection,
// which the bar shows as an empty field that takes no input.
void SetX(const void* value, void* clientData) {
  SplineEditor* editor = Editor(clientData);
  const float x = *static_cast<const float*>(value);
  if (std::isfinite(x)) editor->PlaceSelectedInFrame(vec2(x, editor->SelectedInFrame().y));
}
void GetX(void* value, void* clientData) {
  *static_cast<float*>(value) = Editor(clientData)->SelectedInFrame().x;
}
void SetY(const void* value, void* clientData) {
  SplineEditor* editor = Editor(clientData);
  const float y = *static_cast<const float*>(value);
  if (std::isfinite(y)) editor->PlaceSelectedInFrame(vec2(editor->SelectedInFrame().x, y));
}
void GetY(void* value, void* clientData) {
  *static_cast<float*>(value) = Editor(clientData)->SelectedInFrame().y;
}

void SetSnap(const void* value, void* clientData) {
  Editor(clientData)->mSnap = *static_cast<const bool*>(value);
}
void GetSnap(void* value, void* clientData) { *static_cast<bool*>(value) = Editor(clientData)->mSnap; }

// A grid step from one pixel to the frame's height; other values are refused.
void SetGridStep(const void* value, void* clientData) {
  const float step = *static_cast<const float*>(value);
  if (step >= 1.0f && step <= 2.0f * gFrameHalfHeight) Editor(clientData)->mGridStep = step;
}
void GetGridStep(void* value, void* clientData) {
  *static_cast<float*>(value) = Editor(clientData)->mGridStep;
}

// How the curve ends: a choice is one undo step.
void SetEnds(const void* value, void* clientData) {
  const int chosen = *static_cast<const int*>(value);
  if (chosen < 0 || chosen > static_cast<int>(PathEnds::Loop)) return;
  Editor(clientData)->Step([&] { Spline(clientData).SetEnds(static_cast<PathEnds>(chosen)); });
}
void GetEnds(void* value, void* clientData) {
  *static_cast<int*>(value) = static_cast<int>(Spline(clientData).mEnds);
}

void GetLength(void* value, void* clientData) {
  *static_cast<float*>(value) = static_cast<float>(Editor(clientData)->mPreview.Length());
}

void SetPreviewSpeed(const void* value, void* clientData) {
  Editor(clientData)->mPreview.SetSpeed(*static_cast<const float*>(value), PathPreview::Now());
}
void GetPreviewSpeed(void* value, void* clientData) {
  *static_cast<float*>(value) = Editor(clientData)->mPreview.Speed();
}

}  // namespace

void SplineEditor::BuildBar() {
  mBar = TwNewBar("Spline");
  TwDefine(
      "'Spline' size='200 300' position='0 0' valueswidth=80 iconifiable=false "
      "color='49 79 79' alpha=255 refresh=0.016 movable=false resizable=false");

  // Entries are told apart by their labels only, so every name is empty.
  TwAddVarRW(mBar, "", TW_TYPE_STDSTRING, &mFiles.mFilename, "label=Filename");
  TwAddButton(mBar, "", SaveButton, this, "label='Save' key=CTRL+s");
  const TwType loadType = DefineLoadEnum(mFiles.mFilenames);
  TwAddVarCB(mBar, "", loadType, SetLoad, GetLoad, this, "label='Load'");
  TwSetListOpenCallback(mBar, "Load", OnLoadListOpen, this);
  TwAddSeparator(mBar, "", "");
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, SetRotationValue, GetRotationValue, this, "label=Rotation step=0.1");
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, SetScaleValue, GetScaleValue, this, "label=Scale step=0.01");
  TwAddSeparator(mBar, "", "");
  TwAddButton(mBar, "", PushBackButton, this, "label='Push Back CP' key=z");
  TwAddButton(mBar, "", InsertBeforeButton, this, "label='Insert Before Selected' key=x");
  TwAddButton(mBar, "", InsertAfterButton, this, "label='Insert After Selected' key=c");
  TwAddSeparator(mBar, "", "");
  TwAddButton(mBar, "", ClearButton, this, "label='Clear CP' key=p");
  TwAddButton(mBar, "", DeleteButton, this, "label='Delete Selected' key=DEL");
  // Beyond the entries above: undo and redo. Ctrl with these letters stays the text's while a
  // field is edited.
  TwAddSeparator(mBar, "", "");
  TwAddButton(mBar, "", UndoButton, this, "label='Undo' key=CTRL+z");
  TwAddButton(mBar, "", RedoButton, this, "label='Redo' key='CTRL+y CTRL+SHIFT+z'");
  // Then precise placement; the bar grows to hold it and keeps its width.
  TwAddSeparator(mBar, "", "");
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, SetX, GetX, this, "label=X step=1");
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, SetY, GetY, this, "label=Y step=1");
  TwAddVarCB(mBar, "", TW_TYPE_BOOLCPP, SetSnap, GetSnap, this, "label=Snap");
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, SetGridStep, GetGridStep, this, "label='Grid step' step=1");
  // The index labels can be hidden: on a long path they cover everything.
  TwAddVarRW(mBar, "", TW_TYPE_BOOLCPP, &mShowLabels, "label=Labels");
  // Then the curve's ends, its length in frame pixels and the preview of a motion along it.
  TwAddSeparator(mBar, "", "");
  const TwEnumVal ends[] = {{static_cast<int>(PathEnds::Free), "Free"},
                            {static_cast<int>(PathEnds::Pinned), "Pinned"},
                            {static_cast<int>(PathEnds::Loop), "Loop"}};
  TwAddVarCB(mBar, "", TwDefineEnum("PathEndsEnum", ends, 3), SetEnds, GetEnds, this, "label=Ends");
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, nullptr, GetLength, this, "label=Length precision=1");
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, SetPreviewSpeed, GetPreviewSpeed, this,
             "label='Preview speed' step=10");
  // Then the image under the frame.
  TwAddSeparator(mBar, "", "");
  AddBackgroundEntries();
  TwDefine("'Spline' size='200 508'");
}

TwType DefineLoadEnum(const std::vector<std::string>& names) {
  std::vector<TwEnumVal> table;
  table.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i)
    table.push_back(TwEnumVal{static_cast<int>(i), names[i].c_str()});
  return TwDefineEnum("LoadFilenamesEnum", table.data(), static_cast<unsigned int>(table.size()));
}

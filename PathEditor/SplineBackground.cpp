// The path's background image in the "Spline" bar (the Background list and Opacity) and in
// each frame, stretched over the frame rectangle.
#include <cmath>
#include <cstdint>

#include "PathFrame.h"
#include "SplineEditor.h"

namespace {

SplineEditor* Editor(void* clientData) { return static_cast<SplineEditor*>(clientData); }

// Entry 0 is "(none)", entry i + 1 the listed image i. Choosing is one undo step, and reads the
// image again even when it is chosen again.
void SetBackground(const void* value, void* clientData) {
  SplineEditor* editor = Editor(clientData);
  const int index = *static_cast<const int*>(value);
  const std::vector<std::string>& files = editor->mBackgroundImage.mFiles;
  if (index < 0 || static_cast<std::size_t>(index) > files.size()) return;
  const std::string name = index == 0 ? std::string() : files[static_cast<std::size_t>(index) - 1];
  editor->Step([&] { editor->mSpline.mBackground = name; });
  editor->mBackgroundImage.Reload();
}
// Shows the image the path names, "(none)" for none, and nothing while it is not listed.
void GetBackground(void* value, void* clientData) {
  const SplineEditor* editor = Editor(clientData);
  const std::string& name = editor->mSpline.mBackground;
  const std::vector<std::string>& files = editor->mBackgroundImage.mFiles;
  int shown = name.empty() ? 0 : -1;
  for (std::size_t i = 0; shown == -1 && i < files.size(); ++i)
    if (files[i] == name) shown = static_cast<int>(i) + 1;
  *static_cast<int*>(value) = shown;
}
// Opening the list shows the folder's images as they are now.
void OnBackgroundListOpen(void* clientData) { Editor(clientData)->RefreshBackgroundList(); }

// Held to 0 ... 1; a value that is not a number changes nothing.
void SetOpacity(const void* value, void* clientData) {
  const float opacity = *static_cast<const float*>(value);
  if (!std::isnan(opacity))
    Editor(clientData)->mBackgroundImage.mOpacity = std::fmin(1.0f, std::fmax(0.0f, opacity));
}
void GetOpacity(void* value, void* clientData) {
  *static_cast<float*>(value) = Editor(clientData)->mBackgroundImage.mOpacity;
}

}  // namespace

void SplineEditor::AddBackgroundEntries() {
  mBackgroundImage.RefreshListing();
  const TwType type = DefineBackgroundEnum(mBackgroundImage.mFiles);
  TwAddVarCB(mBar, "", type, SetBackground, GetBackground, this, "label='Background'");
  TwSetListOpenCallback(mBar, "Background", OnBackgroundListOpen, this);
  TwAddVarCB(mBar, "", TW_TYPE_FLOAT, SetOpacity, GetOpacity, this, "label=Opacity step=0.05");
}

void SplineEditor::RefreshBackgroundList() {
  mBackgroundImage.RefreshListing();
  DefineBackgroundEnum(mBackgroundImage.mFiles);
}

void SplineEditor::SubmitBackground() {
  mBackgroundImage.Submit(mSpline.mBackground, FrameCorner(),
                          FrameCorner() + 2.0f * vec2(gFrameHalfWidth, gFrameHalfHeight));
}

TwType DefineBackgroundEnum(const std::vector<std::string>& files) {
  std::vector<TwEnumVal> table;
  table.reserve(files.size() + 1);
  table.push_back(TwEnumVal{0, "(none)"});
  for (std::size_t i = 0; i < files.size(); ++i)
    table.push_back(TwEnumVal{static_cast<int>(i) + 1, files[i].c_str()});
  return TwDefineEnum("BackgroundFilesEnum", table.data(), static_cast<unsigned int>(table.size()));
}

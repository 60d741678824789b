// The "Spline" tweak bar: file name, Save, Load, rotation, scale and the editing buttons.
#include <algorithm>
#include <cstdint>

#include "CubicBSpline.h"
#include "ResourceListing.h"
#include "TweakBar.h"

namespace {

CubicBSpline* Spline(void* clientData) { return static_cast<CubicBSpline*>(clientData); }

void SaveButton(void* clientData) { Spline(clientData)->Save(); }

// The Load variable carries the index of the chosen "LoadFilenamesEnum" entry. It shows the
// file last loaded, wherever it stands in the list now, and nothing while it is not listed.
void SetLoad(const void* value, void* clientData) {
  const int index = *static_cast<const int*>(value);
  Spline(clientData)->LoadResourceFile(static_cast<std::uint32_t>(index));
}
void GetLoad(void* value, void* clientData) {
  const CubicBSpline* spline = Spline(clientData);
  const auto& names = spline->mFilenames;
  const auto found = std::find(names.begin(), names.end(), spline->mLoadedFile);
  const bool shown = !spline->mLoadedFile.empty() && found != names.end();
  *static_cast<int*>(value) = shown ? static_cast<int>(found - names.begin()) : -1;
}
// Opening the list shows the folder as it is now, with files other programs made or deleted.
void OnLoadListOpen(void* clientData) { Spline(clientData)->RefreshLoadList(); }

void SetRotationValue(const void* value, void* clientData) {
  Spline(clientData)->SetRotation(*static_cast<const float*>(value));
}
void GetRotationValue(void* value, void* clientData) {
  *static_cast<float*>(value) = Spline(clientData)->mRotation;
}

void SetScaleValue(const void* value, void* clientData) {
  Spline(clientData)->SetScale(*static_cast<const float*>(value));
}
void GetScaleValue(void* value, void* clientData) {
  *static_cast<float*>(value) = Spline(clientData)->mScale;
}

// New points land where the pointer was last seen outside the bar: under it for a shortcut
// pressed over the scene, and never under the bar for a button clicked there.
void PushBackButton(void* clientData) {
  CubicBSpline* spline = Spline(clientData);
  spline->PushBack(spline->mLastScenePointer);
}
void InsertBeforeButton(void* clientData) {
  CubicBSpline* spline = Spline(clientData);
  spline->InsertBeforeSelected(spline->mLastScenePointer);
}
void InsertAfterButton(void* clientData) {
  CubicBSpline* spline = Spline(clientData);
  spline->InsertAfterSelected(spline->mLastScenePointer);
}
void ClearButton(void* clientData) { Spline(clientData)->Clear(); }
void DeleteButton(void* clientData) { Spline(clientData)->DeleteSelected(); }

}  // namespace

void CubicBSpline::BuildBar() {
  mBar = TwNewBar("Spline");
  TwDefine(
      "'Spline' size='200 300' position='0 0' valueswidth=80 iconifiable=false "
      "color='49 79 79' alpha=255 refresh=0.016 movable=false resizable=false");

  // Entries are told apart by their labels only, so every name is empty.
  TwAddVarRW(mBar, "", TW_TYPE_STDSTRING, &mFilename, "label=Filename");
  TwAddButton(mBar, "", SaveButton, this, "label='Save' key=CTRL+s");
  ListResourceFiles("", mFilenames);
  const TwType loadType = DefineLoadEnum(mFilenames);
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
}

void CubicBSpline::RefreshLoadList() {
  ListResourceFiles("", mFilenames);
  DefineLoadEnum(mFilenames);
}

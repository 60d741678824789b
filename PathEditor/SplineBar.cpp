// The "Spline" tweak bar: file name, Save, Load, rotation, scale and the editing buttons.
#include <cstdint>

#include "CubicBSpline.h"
#include "InputManager.h"
#include "ResourceListing.h"
#include "TweakBar.h"

namespace {

CubicBSpline* Spline(void* clientData) { return static_cast<CubicBSpline*>(clientData); }
vec2 MousePos() { return InputManager::Instance()->mMousePos; }

void SaveButton(void* clientData) { Spline(clientData)->Save(); }

// The Load variable carries the index of the chosen "LoadFilenamesEnum" entry.
void SetLoad(const void* value, void* clientData) {
  const int index = *static_cast<const int*>(value);
  Spline(clientData)->LoadResourceFile(static_cast<std::uint32_t>(index));
}
void GetLoad(void* value, void* clientData) { *static_cast<int*>(value) = Spline(clientData)->mLoadIndex; }

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

// New points land where the mouse was last seen outside the bar.
void PushBackButton(void* clientData) { Spline(clientData)->PushBack(MousePos()); }
void InsertBeforeButton(void* clientData) { Spline(clientData)->InsertBeforeSelected(MousePos()); }
void InsertAfterButton(void* clientData) { Spline(clientData)->InsertAfterSelected(MousePos()); }
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

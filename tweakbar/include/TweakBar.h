// The tweak-bar API the program's bars are written against, drawn with Dear ImGui.
//
// Bars, entries and enumerations live in plain data and need no OpenGL context; only TwDraw
// touches OpenGL. Every function reports its failures to the handler set with TwHandleErrors.
#pragma once

#include <string>

struct TwBar;  // opaque handle

enum TwGraphAPI { TW_OPENGL = 1 };

// Variable types. Enumeration types made by TwDefineEnum get values from TW_TYPE_ENUM_BASE up.
enum TwType {
  TW_TYPE_UNDEF = 0,
  TW_TYPE_BOOLCPP = 1,
  TW_TYPE_INT32 = 2,
  TW_TYPE_FLOAT = 3,
  TW_TYPE_STDSTRING = 4,
  TW_TYPE_ENUM_BASE = 0x1000,
};

struct TwEnumVal {
  int Value;
  const char* Label;
};

typedef void (*TwSetVarCallback)(const void* value, void* clientData);
typedef void (*TwGetVarCallback)(void* value, void* clientData);
typedef void (*TwButtonCallback)(void* clientData);
typedef void (*TwErrorHandler)(const char* errorMessage);
typedef void (*TwCopyStdStringToClient)(std::string& destinationClientString,
                                        const std::string& sourceLibraryString);

// Set-up. TwInit creates the layer's state; TwTerminate drops every bar and type again.
int TwInit(TwGraphAPI graphAPI, void* device);
int TwTerminate();
int TwWindowSize(int width, int height);
int TwGLUTModifiersFunc(int (*glutGetModifiersFunc)());
void TwCopyStdStringToClientFunc(TwCopyStdStringToClient copyStdStringFunc);
void TwHandleErrors(TwErrorHandler errorHandler);

// Bars and their entries. `def` strings use the entry attributes label, key and step.
TwBar* TwNewBar(const char* barName);
int TwDeleteBar(TwBar* bar);
int TwDefine(const char* def);
int TwAddVarRW(TwBar* bar, const char* name, TwType type, void* var, const char* def);
int TwAddVarCB(TwBar* bar, const char* name, TwType type, TwSetVarCallback setCallback,
               TwGetVarCallback getCallback, void* clientData, const char* def);
int TwAddButton(TwBar* bar, const char* name, TwButtonCallback callback, void* clientData, const char* def);
int TwAddSeparator(TwBar* bar, const char* name, const char* def);
TwType TwDefineEnum(const char* name, const TwEnumVal* enumValues, unsigned int nbValues);

// GLUT events. Each returns non-zero when a bar takes the event.
int TwEventKeyboardGLUT(unsigned char glutKey, int mouseX, int mouseY);
int TwEventSpecialGLUT(int glutKey, int mouseX, int mouseY);
int TwEventMouseButtonGLUT(int glutButton, int glutState, int mouseX, int mouseY);
int TwEventMouseMotionGLUT(int mouseX, int mouseY);

// Draws every bar into the current OpenGL context, saving and restoring the state it changes.
int TwDraw();

// What this layer offers beyond the calls above.
// Whether the window point (GLUT coordinates, y down) lies on a bar or on its open list.
int TwIsOnBar(int mouseX, int mouseY);
// A button's shortcut outside the GLUT callbacks, the key as GLUT gives it (`special` for a
// special key's code) with the modifiers held then: whether it would run the button now (no
// field is edited, and it is not Escape over an open list), and running it if so; non-zero
// when it does.
int TwKeyIsShortcut(int glutKey, int special, int modifiers);
int TwRunKeyShortcut(int glutKey, int special, int modifiers);
// Runs `callback` whenever the drop-down list of the bar's entry `label` opens, before the
// list is shown, so that it can define the entries of its enumeration anew.
int TwSetListOpenCallback(TwBar* bar, const char* label, TwButtonCallback callback, void* clientData);

#pragma once

#include <string>
#include <vector>

#include "win32/Win32Api.h"

namespace wendmoor {

// A dialog template (DLGTEMPLATEEX) assembled in memory, so every dialog is built from the
// window layer's tables at run time instead of from a resource script written beside them.
// Rectangles are in dialog units; the font is the system's message font at 8 points, so the
// units follow the font and the screen's scaling as any dialog's do.
class DialogTemplate {
  public:
    DialogTemplate(const std::string& title, DWORD style, int width, int height,
                   DWORD extendedStyle = 0);

    // Adds a control of a window class ("BUTTON", "LISTBOX", WC_LISTVIEWW ...). WS_CHILD and
    // WS_VISIBLE are added; the controls stand in the tab order they are added in.
    void Add(const wchar_t* className, const std::string& text, int id, DWORD style, int x, int y,
             int width, int height, DWORD extendedStyle = 0);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void AddString(const std::wstring& text);
    void AddDword(DWORD value);
    void AlignToDword();

    std::vector<WORD> words_;
};

}  // namespace wendmoor

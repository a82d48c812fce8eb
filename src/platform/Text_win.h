#pragma once
// Texts are code page 936 bytes everywhere inside the program; these move them in and out
// of controls and, where Windows wants UTF-16, convert with code page 936 named explicitly.
#include <windows.h>
#include <string>

constexpr UINT TextCodePage = 936;

std::wstring ToWide(const std::string& text);
std::string FromWide(const std::wstring& text);

// The whole text of a window or control, of any length.
std::string GetControlText(HWND control);
void SetControlText(HWND control, const std::string& text);

// A free text attached to a control and never shown. Empty until set; ReleaseControlTag
// frees it and must run before the control is destroyed.
std::string GetControlTag(HWND control);
void SetControlTag(HWND control, const std::string& text);
void ReleaseControlTag(HWND control);

#include "platform/InputBox_win.h"

#include <commctrl.h>

#include <vector>

#include "platform/Text_win.h"

namespace {

// Builds a dialog template in memory: DLGTEMPLATE and DLGITEMTEMPLATE records, each starting on
// a DWORD boundary, strings in UTF-16 (the layout the dialog manager reads, see DLGITEMTEMPLATE).
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const std::wstring& title, const wchar_t* font,
                 WORD pointSize) {
    Add<DWORD>(style);
    Add<DWORD>(0);  // extended style
    countAt_ = words_.size();
    Add<WORD>(0);   // number of items, counted as they come
    Add<short>(0);
    Add<short>(0);
    Add<short>(width);
    Add<short>(height);
    Add<WORD>(0);  // no menu
    Add<WORD>(0);  // the standard dialog class
    AddText(title);
    Add<WORD>(pointSize);
    AddText(font);
  }

  void AddItem(WORD atom, WORD id, DWORD style, DWORD exStyle, short x, short y, short width, short height,
               const std::wstring& text) {
    if (words_.size() % 2) Add<WORD>(0);
    Add<DWORD>(style | WS_CHILD | WS_VISIBLE);
    Add<DWORD>(exStyle);
    Add<short>(x);
    Add<short>(y);
    Add<short>(width);
    Add<short>(height);
    Add<WORD>(id);
    Add<WORD>(0xFFFF);  // a predefined class by its atom
    Add<WORD>(atom);
    AddText(text);
    Add<WORD>(0);  // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  template <typename T>
  void Add(T value) {
    static_assert(sizeof(T) % sizeof(WORD) == 0);
    const WORD* parts = reinterpret_cast<const WORD*>(&value);
    words_.insert(words_.end(), parts, parts + sizeof(T) / sizeof(WORD));
  }
  void AddText(const std::wstring& text) {
    words_.insert(words_.end(), text.begin(), text.end());
    words_.push_back(0);
  }

  std::vector<WORD> words_;  // new[] storage is aligned far beyond a DWORD
  size_t countAt_ = 0;
};

constexpr WORD ButtonAtom = 0x0080;
constexpr WORD EditAtom = 0x0081;
constexpr WORD StaticAtom = 0x0082;

struct InputBoxState {
  InputMode mode;
  std::string answer;
};

bool IsIntegerCharacter(WPARAM character) {
  // Control characters (Backspace, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+A) are editing, not typing.
  return character < 0x20 || character == 0x7F || character == L'-' || (character >= L'0' && character <= L'9');
}

LRESULT CALLBACK IntegerEntry(HWND entry, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_CHAR:
      if (!IsIntegerCharacter(wParam)) return 0;
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(entry, IntegerEntry, 0);
      break;
  }
  return ::DefSubclassProc(entry, message, wParam, lParam);
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      auto* state = reinterpret_cast<InputBoxState*>(lParam);
      HWND entry = ::GetDlgItem(dialog, InputBoxEntry);
      if (state->mode == InputMode::Integer) ::SetWindowSubclass(entry, IntegerEntry, 0, 0);
      ::SetFocus(entry);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (id != IDOK && id != IDCANCEL) break;
      auto* state = reinterpret_cast<InputBoxState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
      if (id == IDOK) {
        HWND entry = ::GetDlgItem(dialog, InputBoxEntry);
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(entry)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(entry, text.data(), static_cast<int>(text.size()))));
        state->answer = FromWide(text);
      }
      ::EndDialog(dialog, id);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

std::string ShowInputBox(HWND owner, const std::string& prompt, const std::string& title, InputMode mode) {
  // In dialog units: the prompt at the top left, the buttons stacked at the right, the entry
  // along the bottom. The close box sends IDCANCEL, as Esc does.
  DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT |
                            DS_SETFOREGROUND,
                        250, 74, ToWide(title), L"MS Shell Dlg", 9);
  dialog.AddItem(StaticAtom, InputBoxPrompt, SS_LEFT | SS_NOPREFIX, 0, 7, 7, 180, 40, ToWide(prompt));
  dialog.AddItem(ButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 193, 7, 50, 14, ToWide("确认输入(&O)"));
  dialog.AddItem(ButtonAtom, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 0, 193, 25, 50, 14, ToWide("取消(&C)"));
  dialog.AddItem(EditAtom, InputBoxEntry, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 7, 54, 236, 13, L"");

  InputBoxState state{mode, {}};
  INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.get(), owner, InputBoxProcedure,
                                             reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? state.answer : std::string();
}

#include "app/FileDropTarget_win.h"

#include <shellapi.h>

#include <vector>

#include "app/DroppedFiles.h"

namespace {

FORMATETC FilesFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool OffersFiles(IDataObject* data) {
  FORMATETC format = FilesFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

// Never a move: the source would delete the user's file once it believes we took it.
DWORD AcceptedEffect(bool accept, DWORD allowed) {
  if (!accept) return DROPEFFECT_NONE;
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  return DROPEFFECT_NONE;
}

std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    path.resize(::DragQueryFileA(drop, i, path.data(), length + 1));
    paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace

HRESULT FileDropTarget::Bind(HWND window) {
  if (window_) return DRAGDROP_E_ALREADYREGISTERED;
  HRESULT result = ::RegisterDragDrop(window, this);
  if (SUCCEEDED(result)) window_ = window;
  return result;
}

void FileDropTarget::Unbind() {
  if (!window_) return;
  ::RevokeDragDrop(window_);
  window_ = nullptr;
}

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  offersFiles_ = OffersFiles(data);
  *effect = AcceptedEffect(offersFiles_, *effect);
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  *effect = AcceptedEffect(offersFiles_, *effect);
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  offersFiles_ = false;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  offersFiles_ = false;
  *effect = AcceptedEffect(OffersFiles(data), *effect);
  if (*effect == DROPEFFECT_NONE) return S_OK;
  FORMATETC format = FilesFormat();
  STGMEDIUM medium{};
  if (data->GetData(&format, &medium) != S_OK) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  std::vector<std::string> paths = DroppedPaths(static_cast<HDROP>(medium.hGlobal));
  ::ReleaseStgMedium(&medium);
  if (paths.empty()) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  onFilesDropped_(DroppedFilesText(paths));
  return S_OK;
}

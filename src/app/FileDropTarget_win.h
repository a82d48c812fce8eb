#pragma once
// An OLE drop target that takes dropped files (CF_HDROP) and nothing else: no text,
// links or HTML. It is bound to one window for its whole life.
#include <windows.h>
#include <oleidl.h>

#include <functional>
#include <string>

class FileDropTarget final : public IDropTarget {
 public:
  using Handler = std::function<void(const std::string& droppedFilesText)>;

  explicit FileDropTarget(Handler onFilesDropped) : onFilesDropped_(std::move(onFilesDropped)) {}
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;

  // Registers the target on the window; a second binding fails and changes nothing.
  HRESULT Bind(HWND window);
  // Revokes the registration; the window must still exist.
  void Unbind();
  HWND boundWindow() const { return window_; }

  // IUnknown. The object is owned by its window's object, not by its reference count.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  // IDropTarget.
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

 private:
  Handler onFilesDropped_;
  HWND window_ = nullptr;
  ULONG references_ = 1;
  bool offersFiles_ = false;
};

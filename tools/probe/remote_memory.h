// Memory inside the target process. Window messages whose parameters point
// to structures (list view items, rectangles, addresses) are not copied
// between processes by the system: the target's window procedure reads and
// writes through the pointer in its own address space, so the structure has
// to live there.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

namespace probe {

// The target process, opened for allocating, reading and writing memory.
class TargetProcess {
 public:
  explicit TargetProcess(DWORD processId);
  ~TargetProcess();
  TargetProcess(const TargetProcess&) = delete;
  TargetProcess& operator=(const TargetProcess&) = delete;

  // Open, and of the probe's own bitness: only then do the structures the
  // probe writes have the layout the target's controls expect.
  bool Usable() const;
  HANDLE Handle() const { return handle_; }

 private:
  HANDLE handle_;
};

// A block allocated in the target, released with the object.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, std::size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Valid() const { return base_ != nullptr; }
  // The target-side address of byte `offset`, as a message parameter.
  LPARAM Address(std::size_t offset = 0) const;
  // The same address typed, for pointers stored inside a structure that the
  // target reads (such as a text buffer of a list view item). Never
  // dereferenced by the probe.
  template <typename T>
  T* Pointer(std::size_t offset) const {
    return reinterpret_cast<T*>(Address(offset));
  }

  bool Write(std::size_t offset, const void* data, std::size_t size);
  bool Read(std::size_t offset, void* data, std::size_t size) const;

  template <typename T>
  bool Put(const T& value, std::size_t offset = 0) {
    return Write(offset, &value, sizeof value);
  }
  template <typename T>
  bool Get(T& value, std::size_t offset = 0) const {
    return Read(offset, &value, sizeof value);
  }

 private:
  bool Fits(std::size_t offset, std::size_t size) const;

  HANDLE process_;
  std::size_t size_;
  char* base_;
};

// The rectangle a control of the target writes for `message` (an item's
// bounds, `wParam` naming the item), given `rect` as it reads it; none when
// the control does not answer or answers 0.
std::optional<RECT> RemoteRect(HWND control, UINT message, WPARAM wParam,
                               HANDLE process, RECT rect = {});

}  // namespace probe

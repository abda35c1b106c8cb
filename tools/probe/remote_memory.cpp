#include "tools/probe/remote_memory.h"

#include "tools/probe/ui_messages.h"

namespace probe {

TargetProcess::TargetProcess(DWORD processId)
    : handle_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ |
                              PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                          FALSE, processId)) {}

TargetProcess::~TargetProcess() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

bool TargetProcess::Usable() const {
  if (handle_ == nullptr) return false;
  BOOL oursEmulated = FALSE;
  BOOL theirsEmulated = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &oursEmulated) ||
      !IsWow64Process(handle_, &theirsEmulated)) {
    return false;
  }
  return oursEmulated == theirsEmulated;
}

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t size)
    : process_(process),
      size_(size),
      base_(static_cast<char*>(VirtualAllocEx(
          process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}

RemoteBuffer::~RemoteBuffer() {
  if (base_ != nullptr) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
}

LPARAM RemoteBuffer::Address(std::size_t offset) const {
  return reinterpret_cast<LPARAM>(base_ + offset);
}

bool RemoteBuffer::Fits(std::size_t offset, std::size_t size) const {
  return base_ != nullptr && offset <= size_ && size <= size_ - offset;
}

bool RemoteBuffer::Write(std::size_t offset, const void* data,
                         std::size_t size) {
  SIZE_T written = 0;
  return Fits(offset, size) &&
         WriteProcessMemory(process_, base_ + offset, data, size, &written) &&
         written == size;
}

bool RemoteBuffer::Read(std::size_t offset, void* data,
                        std::size_t size) const {
  SIZE_T read = 0;
  return Fits(offset, size) &&
         ReadProcessMemory(process_, base_ + offset, data, size, &read) &&
         read == size;
}

std::optional<RECT> RemoteRect(HWND control, UINT message, WPARAM wParam,
                               HANDLE process, RECT rect) {
  RemoteBuffer remote(process, sizeof rect);
  LRESULT found = 0;
  if (!remote.Put(rect) ||
      !SendTo(control, message, wParam, remote.Address(), &found) ||
      found == 0 || !remote.Get(rect)) {
    return std::nullopt;
  }
  return rect;
}

}  // namespace probe

#include "cli/workbook/zip_members.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>

namespace cli {
namespace {

// The zip as a file of minizip's: a position in the bytes.
struct MemoryFile {
  const std::string* bytes;
  ZPOS64_T at = 0;
};

MemoryFile& Of(voidpf stream) { return *static_cast<MemoryFile*>(stream); }

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
  MemoryFile& file = Of(stream);
  const ZPOS64_T left =
      file.bytes->size() - std::min<ZPOS64_T>(file.at, file.bytes->size());
  const uLong got = static_cast<uLong>(std::min<ZPOS64_T>(size, left));
  std::memcpy(buffer, file.bytes->data() + file.at, got);
  file.at += got;
  return got;
}

uLong ZCALLBACK WriteNothing(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) { return Of(stream).at; }

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  MemoryFile& file = Of(stream);
  const ZPOS64_T size = file.bytes->size();
  ZPOS64_T to = offset;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) to = file.at + offset;
  if (origin == ZLIB_FILEFUNC_SEEK_END) to = size + offset;
  if (to > size) return -1;
  file.at = to;
  return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }

int ZCALLBACK NoError(voidpf, voidpf) { return 0; }

// Case-insensitive names, as the workbook's parts are named.
constexpr int ANY_CASE = 2;

}  // namespace

struct ZipMembers::State {
  MemoryFile file;
  unzFile zip = nullptr;
};

ZipMembers::ZipMembers(const std::string& bytes)
    : state_(new State{MemoryFile{&bytes}}) {
  zlib_filefunc64_def calls{OpenMemory, ReadMemory,   WriteNothing,
                            TellMemory, SeekMemory,   CloseMemory,
                            NoError,    &state_->file};
  state_->zip = unzOpen2_64("", &calls);
}

ZipMembers::~ZipMembers() {
  if (state_->zip) unzClose(state_->zip);
}

bool ZipMembers::Opened() const { return state_->zip != nullptr; }

Member ZipMembers::Read(const std::string& name) {
  Member member;
  unzFile zip = state_->zip;
  if (!zip) return member;
  if (unzLocateFile(zip, name.c_str(), ANY_CASE) != UNZ_OK) {
    member.status = MemberRead::Missing;
    return member;
  }
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) !=
      UNZ_OK)
    return member;
  if (info.flag & 1) {
    member.status = MemberRead::Encrypted;
    return member;
  }
  const ZPOS64_T size = info.uncompressed_size;
  if (size > MAX_MEMBER_SIZE ||
      (size > RATIO_FLOOR && size > info.compressed_size * MAX_MEMBER_RATIO)) {
    member.status = MemberRead::Bomb;
    return member;
  }
  if (unzOpenCurrentFile(zip) != UNZ_OK) return member;
  // Grown as the data comes, never to the size the header claims, which
  // may lie; one byte more than it promises tells that it does.
  char piece[1 << 16];
  int read = 0;
  while (member.bytes.size() <= size &&
         (read = unzReadCurrentFile(zip, piece, sizeof piece)) > 0)
    member.bytes.append(piece, static_cast<std::size_t>(read));
  const std::size_t got = member.bytes.size();
  const bool whole = unzCloseCurrentFile(zip) == UNZ_OK;
  if (got > size) {
    member.status = MemberRead::Bomb;
  } else if (read >= 0 && got == size && whole) {
    member.status = MemberRead::Ok;
  }
  if (member.status != MemberRead::Ok) member.bytes.clear();
  return member;
}

}  // namespace cli

#include <windows.h>

#include <memory>

#include "atomic_write.h"
#include "temporary_file.h"
#include "win32_ansi_text.h"
#include "win32_handle.h"
#include "win32_long_path.h"
#include "win32_system_message.h"

namespace autorun {
namespace {

FileError SystemError(const std::string& what) {
    const DWORD code = GetLastError();
    return FileError(what + ": " + SystemMessage(code));
}

// The name carries the process id, so that writers of the same file in parallel don't collide;
// a name left over by a crashed writer is skipped.
HANDLE CreateUniqueFile(const std::wstring& path, BasicTemporaryFile<std::wstring>& temporary) {
    const std::wstring stem = path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary.SetPath(stem + std::to_wstring(attempt) + L".tmp");
        const HANDLE file = CreateFileW(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            temporary.Own();
            return file;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            throw SystemError("cannot create a temporary file beside it");
    }
    throw FileError("cannot create a temporary file beside it: too many left over from earlier runs");
}

}  // namespace

struct AtomicFileWriter::State {
    std::wstring path;  // in the form that Windows takes at any length
    BasicTemporaryFile<std::wstring>
        temporary;  // declared before the handle: removed only after it is closed
    std::unique_ptr<Win32Handle> file;
};

AtomicFileWriter::AtomicFileWriter(const std::string& path)
    : AtomicFileWriter(std::filesystem::path(WidenFromAnsiCodePage(path))) {}

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& path) : state_(new State) {
    // The temporary file's name is a little longer than the target's: both take the long form then.
    state_->path = ExtendedLengthPath(path.native() + L".0000000000-00.tmp");
    state_->path.resize(state_->path.size() - std::wstring(L".0000000000-00.tmp").size());
    state_->file = std::make_unique<Win32Handle>(CreateUniqueFile(state_->path, state_->temporary));
}

AtomicFileWriter::~AtomicFileWriter() = default;

void AtomicFileWriter::Write(const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (DWORD(1) << 30) ? (DWORD(1) << 30) : DWORD(size);
        DWORD written = 0;
        if (!WriteFile(state_->file->get(), bytes, chunk, &written, nullptr) || written != chunk)
            throw SystemError("cannot write the temporary file");
        bytes += chunk;
        size -= chunk;
    }
}

void AtomicFileWriter::Commit() {
    if (!FlushFileBuffers(state_->file->get())) throw SystemError("cannot write the temporary file");
    state_->file.reset();
    if (!MoveFileExW(state_->temporary.path().c_str(), state_->path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw SystemError("cannot replace it with the temporary file");
    state_->temporary.Keep();
}

}  // namespace autorun

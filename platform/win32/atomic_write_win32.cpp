#include <windows.h>

#include <memory>

#include "atomic_write.h"
#include "temporary_file.h"
#include "win32_handle.h"
#include "win32_system_message.h"

namespace autorun {
namespace {

FileError SystemError(const std::string& what) {
    const DWORD code = GetLastError();
    return FileError(what + ": " + SystemMessage(code));
}

// The name carries the process id, so that writers of the same file in parallel don't collide;
// a name left over by a crashed writer is skipped.
HANDLE CreateUniqueFile(const std::string& path, TemporaryFile& temporary) {
    const std::string stem = path + "." + std::to_string(GetCurrentProcessId()) + "-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary.SetPath(stem + std::to_string(attempt) + ".tmp");
        const HANDLE file = CreateFileA(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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
    std::string path;
    TemporaryFile temporary;  // declared before the handle: removed only after the handle is closed
    std::unique_ptr<Win32Handle> file;
};

AtomicFileWriter::AtomicFileWriter(const std::string& path) : state_(new State) {
    state_->path = path;
    state_->file = std::make_unique<Win32Handle>(CreateUniqueFile(path, state_->temporary));
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
    if (!MoveFileExA(state_->temporary.path().c_str(), state_->path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw SystemError("cannot replace it with the temporary file");
    state_->temporary.Keep();
}

}  // namespace autorun

// Owners of libisofs's objects; the library itself is initialised once per process.
#pragma once

// libisofs.h uses the fixed-width types and off_t without including their headers.
#include <stdint.h>
#include <sys/types.h>
#ifdef _WIN32
#include "posix_compat.h"  // uid_t and gid_t, which libisofs.h uses and MinGW lacks
#endif

#define LIBISOFS_WITHOUT_LIBBURN yes
#include <libisofs/libisofs.h>

#include <memory>
#include <optional>
#include <string>

namespace authoring {

struct IsoImageUnref {
    void operator()(IsoImage* image) const { iso_image_unref(image); }
};
struct IsoWriteOptsFree {
    void operator()(IsoWriteOpts* opts) const { iso_write_opts_free(opts); }
};
struct IsoReadOptsFree {
    void operator()(IsoReadOpts* opts) const { iso_read_opts_free(opts); }
};
struct IsoDataSourceUnref {
    void operator()(IsoDataSource* source) const { iso_data_source_unref(source); }
};
struct IsoDirIterFree {
    void operator()(IsoDirIter* iterator) const { iso_dir_iter_free(iterator); }
};
struct BurnSourceFree {
    void operator()(burn_source* source) const {
        if (source->free_data) source->free_data(source);
        std::free(source);
    }
};

using IsoImagePtr = std::unique_ptr<IsoImage, IsoImageUnref>;
using IsoWriteOptsPtr = std::unique_ptr<IsoWriteOpts, IsoWriteOptsFree>;
using IsoReadOptsPtr = std::unique_ptr<IsoReadOpts, IsoReadOptsFree>;
using IsoDataSourcePtr = std::unique_ptr<IsoDataSource, IsoDataSourceUnref>;
using IsoDirIterPtr = std::unique_ptr<IsoDirIter, IsoDirIterFree>;
using BurnSourcePtr = std::unique_ptr<burn_source, BurnSourceFree>;

// Starts libisofs on first use, with file names read and written as UTF-8.  Throws DiscError.
void EnsureLibisofs();

// libisofs's message for an error code.
std::string IsoMessage(int code);

// Takes libisofs's queued failures and returns the latest one's text, which names the file involved;
// nothing when none is queued.
std::optional<std::string> TakeIsoFailureText();

// What went wrong with a call that returned `code`: libisofs's latest queued failure, or else the
// message for the code.
std::string IsoFailure(int code);

}  // namespace authoring

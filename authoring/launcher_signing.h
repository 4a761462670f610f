// Signing the finished launcher with Authenticode (SHA-256), the last step after branding: rewriting
// resources afterwards would break the signature.
#pragma once

#include <optional>
#include <string>

#include "little_endian.h"

namespace authoring {

struct SigningKey {
    std::string pfx;                          // a PKCS#12 file with the private key and the certificate
    std::string password;                     // never passed on any command line
    std::optional<std::string> timestampUrl;  // an RFC 3161 time-stamping service
};

// Throws DiscError when this build can't sign (the Windows build), saying how to sign there instead.
void RequireSigningSupport();

// The signed copy of `launcher`.  Throws DiscError naming the file and the problem: a missing or
// unreadable key file, a wrong password, osslsigncode missing or failing.
Bytes SignLauncher(const Bytes& launcher, const SigningKey& key);

// (Linux build) A signing program's output as one line: what it said first, and the reason of the last
// library error.
std::string CondenseToolOutput(const std::string& output);

}  // namespace authoring

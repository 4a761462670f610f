// Signing through Debian's osslsigncode, run as a program: the key file is checked with libcrypto
// first, so that the common mistakes get a clear line of their own.
#include "launcher_signing.h"

#include <openssl/err.h>
#include <openssl/pkcs12.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "authenticode.h"
#include "disc_contents.h"
#include "file_reading.h"
#include "posix_program_run.h"
#include "reproducible_time.h"

namespace authoring {
namespace {

constexpr char kSigner[] = "osslsigncode";

struct KeyParts {
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;
    STACK_OF(X509) * chain = nullptr;
    ~KeyParts() {
        EVP_PKEY_free(key);
        X509_free(certificate);
        sk_X509_pop_free(chain, X509_free);
    }
};

std::string LastLibraryError() {
    const char* reason = ERR_reason_error_string(ERR_peek_last_error());
    ERR_clear_error();
    return reason ? reason : "unknown error";
}

void RequireUsableKey(const SigningKey& key) {
    const auto bytes = autorun::ReadWholeFile(key.pfx);
    if (!bytes) throw DiscError(key.pfx + ": cannot read the key file (missing, or not a file)");
    const unsigned char* at = bytes->data();
    const std::unique_ptr<PKCS12, decltype(&PKCS12_free)> p12(d2i_PKCS12(nullptr, &at, long(bytes->size())),
                                                              &PKCS12_free);
    if (!p12) {
        ERR_clear_error();
        throw DiscError(key.pfx + ": not a PKCS#12 key file (.pfx or .p12)");
    }
    KeyParts parts;
    if (!PKCS12_parse(p12.get(), key.password.c_str(), &parts.key, &parts.certificate, &parts.chain)) {
        const bool wrongPassword = ERR_GET_REASON(ERR_peek_last_error()) == PKCS12_R_MAC_VERIFY_FAILURE;
        const std::string reason = LastLibraryError();
        throw DiscError(key.pfx + (wrongPassword ? ": wrong password" : ": cannot read the key: " + reason));
    }
    if (!parts.key || !parts.certificate)
        throw DiscError(key.pfx + ": holds no private key with its certificate");
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file.flush()) throw DiscError(path + ": cannot write the launcher to sign");
}

std::vector<std::string> SignerArguments(const SigningKey& key, const std::string& folder) {
    std::vector<std::string> arguments{kSigner, "sign", "-pkcs12", key.pfx};
    // osslsigncode refuses an empty password file; an empty password on the command line tells nobody
    // anything.
    if (key.password.empty())
        arguments.insert(arguments.end(), {"-pass", ""});
    else
        arguments.insert(arguments.end(), {"-readpass", folder + "/password"});
    arguments.insert(arguments.end(), {"-h", "sha256"});
    if (key.timestampUrl) arguments.insert(arguments.end(), {"-ts", *key.timestampUrl});
    // A reproducible disc needs a reproducible signature: its signing time is the disc's date (a timestamp
    // server's countersignature still differs on every run).
    if (const auto date = SourceDate()) arguments.insert(arguments.end(), {"-time", std::to_string(*date)});
    arguments.insert(arguments.end(), {"-in", folder + "/unsigned.exe", "-out", folder + "/signed.exe"});
    return arguments;
}

// Every file the signer sees lies in a folder of our own, removed afterwards: the password too.
Bytes RunSigner(const Bytes& launcher, const SigningKey& key) {
    const autorun::PrivateFolder folder;
    if (!key.password.empty()) autorun::WritePrivateFile(folder.path() + "/password", key.password);
    WriteFile(folder.path() + "/unsigned.exe", launcher);
    const autorun::ProgramRun run = autorun::RunProgram(SignerArguments(key, folder.path()));
    if (run.startError == ENOENT)
        throw DiscError(std::string(kSigner) +
                        ": not installed; signing needs it (Debian: apt install osslsigncode)");
    if (run.startError != 0)
        throw DiscError(std::string(kSigner) + ": cannot be started: " + std::strerror(run.startError));
    if (run.exitStatus != 0)
        throw DiscError(key.pfx + ": " + kSigner +
                        " could not sign the launcher: " + CondenseToolOutput(run.output));
    auto signedLauncher = autorun::ReadWholeFile(folder.path() + "/signed.exe");
    if (!signedLauncher) throw DiscError(std::string(kSigner) + " reported success but wrote no launcher");
    return std::move(*signedLauncher);
}

}  // namespace

void RequireSigningSupport() {}

Bytes SignLauncher(const Bytes& launcher, const SigningKey& key) {
    RequireUsableKey(key);
    Bytes signedLauncher = RunSigner(launcher, key);
    // What goes onto a disc must be what the key signed: a signature that does not hold is refused.
    const LauncherSignature signature = ReadLauncherSignature(signedLauncher);
    if (signature.state != LauncherSignature::State::kIntact)
        throw DiscError(key.pfx + ": " + kSigner +
                        " wrote a launcher whose signature does not hold: " + signature.problem);
    return signedLauncher;
}

namespace {

// A line that says what went wrong, rather than what the program was doing ("Connecting to ...").
bool SaysWhatFailed(const std::string& line) {
    std::string lower;
    for (char c : line) lower.push_back(char(std::tolower(static_cast<unsigned char>(c))));
    for (const char* word : {"fail", "error", "unable", "cannot", "invalid", "wrong"})
        if (lower.find(word) != std::string::npos) return true;
    return false;
}

// OpenSSL's queue: "pid:error:code:library:function:reason:file:line[:data]"
std::string LibraryReason(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, ':');) fields.push_back(field);
    return fields.size() > 5 ? fields[5] : "";
}

}  // namespace

std::string CondenseToolOutput(const std::string& output) {
    std::istringstream lines(output);
    std::string line, first, failure, reason;
    while (std::getline(lines, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.find(":error:") != std::string::npos) {
            if (!LibraryReason(line).empty()) reason = LibraryReason(line);
        } else if (line.empty() || line == "Failed") {
            continue;
        } else if (failure.empty() && SaysWhatFailed(line)) {
            failure = line;
        } else if (first.empty()) {
            first = line;
        }
    }
    std::string said = !failure.empty() ? failure : first;
    if (said.empty()) return reason.empty() ? "no reason given" : reason;
    if (!reason.empty() && said.find(reason) == std::string::npos) said += " (" + reason + ")";
    return said;
}

}  // namespace authoring

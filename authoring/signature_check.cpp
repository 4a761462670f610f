#include "signature_check.h"

#include "authenticode.h"

namespace authoring {

void CheckLauncherSignature(const Bytes& launcher, const std::string& name, bool folder,
                            std::vector<Finding>& findings) {
    const LauncherSignature signature = ReadLauncherSignature(launcher);
    const std::string by = signature.signer.empty() ? "" : " by " + signature.signer;
    switch (signature.state) {
        case LauncherSignature::State::kUnsigned:
            findings.push_back(
                {Finding::kNote, folder ? name + " is not signed"
                                        : name + " is not signed: SmartScreen warns and Smart App Control "
                                                 "blocks unsigned programs in downloaded images; physical "
                                                 "discs are not affected"});
            return;
        case LauncherSignature::State::kIntact:
            findings.push_back(
                {Finding::kGood, name + " is signed" + by + "; the signature covers its bytes"});
            return;
        case LauncherSignature::State::kUnverified:
            findings.push_back(
                {Finding::kGood, name + " is signed (the signature is not verified by this build)"});
            return;
        case LauncherSignature::State::kBroken:
            findings.push_back({Finding::kWarning, name + " is signed" + by +
                                                       ", but the signature is broken: " + signature.problem +
                                                       "; Windows treats it as damaged"});
            return;
    }
}

}  // namespace authoring

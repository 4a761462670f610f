// The signature read with OpenSSL's libcrypto: the PKCS#7 SignedData, the digest that its
// SpcIndirectDataContent holds, and the signer's signature over that content.
#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>

#include <memory>

#include "authenticode.h"

namespace authoring {
namespace {

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, Freer<T, Free>>;

void FreeObject(ASN1_OBJECT* object) {
    ASN1_OBJECT_free(object);
}
void FreeBio(BIO* bio) {
    BIO_free(bio);
}
void FreeSequence(ASN1_SEQUENCE_ANY* sequence) {
    sk_ASN1_TYPE_pop_free(sequence, ASN1_TYPE_free);
}
void FreeSigners(STACK_OF(X509) * signers) {
    sk_X509_free(signers);
}

// SPC_INDIRECT_DATA_OBJID: what Authenticode signs, the file's digest among it.
constexpr char kSpcIndirectData[] = "1.3.6.1.4.1.311.2.1.4";

// The DER of the SpcIndirectDataContent, tag and length included.
std::pair<const unsigned char*, long> IndirectData(const PKCS7* p7) {
    const PKCS7* content = p7->d.sign->contents;
    const Owned<ASN1_OBJECT, FreeObject> expected(OBJ_txt2obj(kSpcIndirectData, 1));
    if (!content || !content->type || !expected || OBJ_cmp(content->type, expected.get()) != 0 ||
        !content->d.other || content->d.other->type != V_ASN1_SEQUENCE)
        throw BrokenSignature("the signature signs no Authenticode content");
    const ASN1_STRING* der = content->d.other->value.sequence;
    return {der->data, der->length};
}

// SpcIndirectDataContent ::= SEQUENCE { data SpcAttributeTypeAndOptionalValue, messageDigest DigestInfo };
// a DigestInfo has X509_SIG's form.
Owned<X509_SIG, X509_SIG_free> SignedDigest(std::pair<const unsigned char*, long> der) {
    const unsigned char* at = der.first;
    const Owned<ASN1_SEQUENCE_ANY, FreeSequence> fields(d2i_ASN1_SEQUENCE_ANY(nullptr, &at, der.second));
    if (!fields || sk_ASN1_TYPE_num(fields.get()) < 2) throw BrokenSignature("the signed content is damaged");
    const ASN1_TYPE* digestInfo = sk_ASN1_TYPE_value(fields.get(), 1);
    if (digestInfo->type != V_ASN1_SEQUENCE) throw BrokenSignature("the signed content holds no digest");
    at = digestInfo->value.sequence->data;
    Owned<X509_SIG, X509_SIG_free> digest(d2i_X509_SIG(nullptr, &at, digestInfo->value.sequence->length));
    if (!digest) throw BrokenSignature("the signed digest is damaged");
    return digest;
}

Bytes ImageDigest(const Bytes& image, const SignatureBlock& block, const EVP_MD* algorithm) {
    const Owned<EVP_MD_CTX, EVP_MD_CTX_free> context(EVP_MD_CTX_new());
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    bool ok = context && EVP_DigestInit_ex(context.get(), algorithm, nullptr);
    for (const auto& [from, to] :
         AuthenticodeDigestRanges(image, ByteRange{block.tableOffset, block.tableOffset + block.tableSize}))
        ok = ok && EVP_DigestUpdate(context.get(), image.data() + from, to - from);
    if (!(ok && EVP_DigestFinal_ex(context.get(), digest, &size)))
        throw BrokenSignature("cannot compute the file's digest");
    return Bytes(digest, digest + size);
}

void RequireDigestOfImage(const Bytes& image, const SignatureBlock& block, const X509_SIG* signedDigest) {
    const X509_ALGOR* algorithm = nullptr;
    const ASN1_OCTET_STRING* expected = nullptr;
    X509_SIG_get0(signedDigest, &algorithm, &expected);
    const ASN1_OBJECT* oid = nullptr;
    X509_ALGOR_get0(&oid, nullptr, nullptr, algorithm);
    const EVP_MD* md = EVP_get_digestbyobj(oid);
    if (!md) throw BrokenSignature("the signed digest uses an algorithm this tool does not know");
    const Bytes actual = ImageDigest(image, block, md);
    if (actual != Bytes(expected->data, expected->data + expected->length))
        throw BrokenSignature("the file was changed after signing");
}

// The signer's signature covers the content through its messageDigest attribute: the digest of the
// content's DER without its outer tag and length.
void RequireSignedContent(PKCS7* p7, std::pair<const unsigned char*, long> der) {
    const unsigned char* body = der.first;
    long length = 0;
    int tag = 0, kind = 0;
    if (ASN1_get_object(&body, &length, &tag, &kind, der.second) & 0x80)
        throw BrokenSignature("the signed content is damaged");
    const Owned<BIO, FreeBio> content(BIO_new_mem_buf(body, int(der.first + der.second - body)));
    // The certificate chain is not judged here: who signed is reported, and the author trusts or not.
    if (!content || PKCS7_verify(p7, nullptr, nullptr, content.get(), nullptr, PKCS7_NOVERIFY) != 1)
        throw BrokenSignature("the signer's signature does not match the signed content");
}

std::string Subject(PKCS7* p7) {
    const Owned<STACK_OF(X509), FreeSigners> signers(PKCS7_get0_signers(p7, nullptr, 0));
    if (!signers || sk_X509_num(signers.get()) < 1)
        throw BrokenSignature("the signer's certificate is not in the signature");
    const Owned<BIO, FreeBio> text(BIO_new(BIO_s_mem()));
    if (!text) throw BrokenSignature("out of memory");
    X509_NAME_print_ex(text.get(), X509_get_subject_name(sk_X509_value(signers.get(), 0)), 0,
                       XN_FLAG_ONELINE & ~ASN1_STRFLGS_ESC_MSB);
    char* data = nullptr;
    const long size = BIO_get_mem_data(text.get(), &data);
    return std::string(data, std::size_t(size));
}

LauncherSignature Read(const Bytes& image, const SignatureBlock& block) {
    LauncherSignature signature{LauncherSignature::State::kBroken, {}, {}};
    const unsigned char* at = block.pkcs7.data();
    const Owned<PKCS7, PKCS7_free> p7(d2i_PKCS7(nullptr, &at, long(block.pkcs7.size())));
    if (!p7 || !PKCS7_type_is_signed(p7.get()) || !p7->d.sign)
        throw BrokenSignature("the signature is damaged (no PKCS#7 signed data)");
    signature.signer = Subject(p7.get());
    try {
        const auto der = IndirectData(p7.get());
        RequireDigestOfImage(image, block, SignedDigest(der).get());
        RequireSignedContent(p7.get(), der);
    } catch (const BrokenSignature& error) {
        signature.problem = error.what();
        return signature;
    }
    signature.state = LauncherSignature::State::kIntact;
    return signature;
}

}  // namespace

LauncherSignature ReadLauncherSignature(const Bytes& image) {
    LauncherSignature signature;
    try {
        const auto block = FindSignature(image);
        if (block) signature = Read(image, *block);
    } catch (const BrokenSignature& error) {
        signature = {LauncherSignature::State::kBroken, {}, error.what()};
    }
    ERR_clear_error();  // what failed is in the result; nothing may linger for the next caller
    return signature;
}

}  // namespace authoring

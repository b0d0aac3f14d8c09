#pragma once

#include <string>
#include <string_view>

namespace orrelith::platform {

// Ed25519 signatures of update archives, checked with libsodium. Any thread.
struct Ed25519Signature {
    // True only when both texts are valid standard Base64 of a 64-byte signature and a 32-byte public key
    // and the signature is the key's over exactly `message`.
    static bool verify(std::string_view message, const std::string& signatureBase64, const std::string& publicKeyBase64);
};

} // namespace orrelith::platform

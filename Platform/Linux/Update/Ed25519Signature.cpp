#include "Platform/Linux/Update/Ed25519Signature.hpp"

#include <sodium.h>

#include <array>

namespace orrelith::platform {

namespace {

template <std::size_t N>
bool decode(const std::string& text, std::array<unsigned char, N>& bytes) {
    std::size_t length = 0;
    return sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), " \n", &length, nullptr,
                             sodium_base64_VARIANT_ORIGINAL) == 0 &&
           length == N;
}

} // namespace

bool Ed25519Signature::verify(std::string_view message, const std::string& signatureBase64,
                              const std::string& publicKeyBase64) {
    if (sodium_init() < 0)
        return false;
    std::array<unsigned char, crypto_sign_BYTES> signature{};
    std::array<unsigned char, crypto_sign_PUBLICKEYBYTES> key{};
    if (!decode(signatureBase64, signature) || !decode(publicKeyBase64, key))
        return false;
    return crypto_sign_verify_detached(signature.data(), reinterpret_cast<const unsigned char*>(message.data()),
                                       message.size(), key.data()) == 0;
}

} // namespace orrelith::platform

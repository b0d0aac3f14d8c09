#include "Platform/Linux/Views/EdidIdentity.hpp"

#include <gtest/gtest.h>

#include <string>

using orrelith::platform::EdidIdentity;

namespace {

struct Sample {
    std::string maker = "DEL";
    std::uint16_t product = 0xA0C2;
    std::uint32_t serial = 0x12345678;
    std::string serialText = "ABC123";
    std::string name = "DELL U2720Q";
};

void putDescriptor(std::string& block, std::size_t offset, unsigned char tag, const std::string& text) {
    block[offset + 3] = static_cast<char>(tag);
    std::string padded = text.substr(0, 13);
    if (padded.size() < 13)
        padded += '\n';
    padded.resize(13, ' ');
    block.replace(offset + 5, 13, padded);
}

void sealChecksum(std::string& block) {
    unsigned sum = 0;
    for (int i = 0; i < 127; ++i)
        sum += static_cast<unsigned char>(block[i]);
    block[127] = static_cast<char>((256 - sum % 256) % 256);
}

// A base EDID block as a monitor would send it, checksum included.
std::string makeEdid(const Sample& sample) {
    std::string block(128, '\0');
    const unsigned char header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    for (int i = 0; i < 8; ++i)
        block[i] = static_cast<char>(header[i]);
    unsigned packed = 0;
    for (char letter : sample.maker)
        packed = (packed << 5) | static_cast<unsigned>(letter - 'A' + 1);
    block[8] = static_cast<char>(packed >> 8);
    block[9] = static_cast<char>(packed & 0xFF);
    block[10] = static_cast<char>(sample.product & 0xFF);
    block[11] = static_cast<char>(sample.product >> 8);
    for (int i = 0; i < 4; ++i)
        block[12 + i] = static_cast<char>((sample.serial >> (8 * i)) & 0xFF);
    block[54] = 0x02; // a detailed timing descriptor, not text
    if (!sample.serialText.empty())
        putDescriptor(block, 72, 0xFF, sample.serialText);
    if (!sample.name.empty())
        putDescriptor(block, 90, 0xFC, sample.name);
    sealChecksum(block);
    return block;
}

} // namespace

TEST(EdidIdentity, ReadsMakerProductSerialAndTextsIntoAVersion5UuidAndRefusesWhatIsNotABaseBlock) {
    auto identity = EdidIdentity::parse(makeEdid({}));
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->manufacturer, "DEL");
    EXPECT_EQ(identity->productCode, 0xA0C2);
    EXPECT_EQ(identity->serialNumber, 0x12345678u);
    EXPECT_EQ(identity->serialText, "ABC123");
    EXPECT_EQ(identity->monitorName, "DELL U2720Q");

    // The expected UUIDs were computed independently, so one that left out or added a part of the
    // identity (the serial number, its text, the monitor's name) would differ from them.
    // uuid5(namespace, "edid/DEL/A0C2/12345678/ABC123"): the name is no part of it.
    EXPECT_EQ(identity->uuid(), "55F4783B-6393-5F3C-87EA-7322A7253144");
    auto bare = EdidIdentity::parse(makeEdid({"GSM", 0x5B09, 0, "", ""}));
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->uuid(), "357E8F82-ECFE-54A5-AD94-C347A76E407A");

    // What is not a base block is refused.
    auto good = makeEdid({});
    auto badChecksum = good;
    badChecksum[127] = static_cast<char>(badChecksum[127] + 1);
    auto badHeader = good;
    badHeader[0] = 0x01;
    sealChecksum(badHeader);
    auto noMaker = good;
    noMaker[8] = noMaker[9] = 0;
    sealChecksum(noMaker);
    for (const auto& bytes : {std::string(), good.substr(0, 127), badChecksum, badHeader, noMaker})
        EXPECT_FALSE(EdidIdentity::parse(bytes));
    EXPECT_TRUE(EdidIdentity::parse(good + std::string(128, '\0'))) << "extension blocks may follow";
}


// The messages of a network game: each comes back from its bytes as it went, and bytes that are not
// exactly one message of ours are refused whole, however they are cut.
#include "net/protocol.h"

#include <gtest/gtest.h>

using namespace squeakrun;

namespace {

const Message kEveryKind[] = {
    Hello{kProtocolNumber, "1.0", "Ann"},
    HostSetup{0x0123456789abcdefull, "3", {"250", "Bob", "I rule, you drool!"}},
    Keys{4000, -25, 7, 3, 2, {{3990, 11, 'i'}, {3999, 12, 'K'}}},
    Event{120, 4, Input::click("Command3")},
    Event{130, 5, Input::type("Form3.txtp2name", "Bob Two")},
    Event{140, 6, Input::select("Form3.Combo1", 2)},
    Answer{9, Button::No, "well played"},
    Signature{3000, 0xfedcba9876543210ull},
    Quit{},
};

} // namespace

TEST(NetProtocol, EveryMessageComesBackAsItWentAndNoCutOrLongerOneReads) {
    for (const Message& m : kEveryKind) {
        const std::vector<std::uint8_t> bytes = encode(m);
        const std::optional<Message> back = decode(bytes);
        ASSERT_TRUE(back) << m.index();
        EXPECT_EQ(encode(*back), bytes) << m.index();
        for (std::size_t n = 0; n < bytes.size(); ++n)
            EXPECT_FALSE(decode(std::span(bytes).first(n))) << m.index() << " cut at " << n;
        std::vector<std::uint8_t> longer = bytes;
        longer.push_back(0);
        EXPECT_FALSE(decode(longer)) << m.index();
    }
    EXPECT_EQ(std::get<Keys>(*decode(encode(kEveryKind[2]))).keys[1].key, 'K');
    EXPECT_EQ(channelOf(kEveryKind[2]), Channel::Keys);
    EXPECT_EQ(channelOf(kEveryKind[3]), Channel::Reliable);
}

TEST(NetProtocol, ValuesOutOfRangeAreRefused) {
    const auto refused = [](const Message& m, std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = encode(m);
        bytes.at(at) = value;
        return !decode(bytes);
    };
    EXPECT_TRUE(refused(Quit{}, 0, 0));                                // no such message
    EXPECT_TRUE(refused(Quit{}, 0, 8));                                // no such message
    EXPECT_TRUE(refused(HostSetup{1, "2", {}}, 11, '4'));              // a difficulty the game has not
    EXPECT_TRUE(refused(Answer{1, Button::OK, ""}, 5, 3));             // a button boxes have not
    EXPECT_TRUE(refused(Keys{0, 0, 0, 0, 0, {{1, 1, 'w'}}}, 30, '1')); // a key that is no letter
    Keys tooMany;
    tooMany.keys.assign(kMaxKeysPerPacket + 1, {1, 1, 'w'});
    EXPECT_FALSE(decode(encode(tooMany)));
    // An agreed event must be an input the game knows, and never a key.
    for (const char* line :
         {"key w", "menu mnuNothing", "click Form9.Command1", "menu", "select Form3.Combo1 x"}) {
        std::vector<std::uint8_t> bytes = encode(Event{1, 1, Input::menu("mnuFilePause")});
        const std::string_view text(line);
        bytes.resize(9);
        bytes.push_back(static_cast<std::uint8_t>(text.size()));
        bytes.push_back(0);
        bytes.insert(bytes.end(), text.begin(), text.end());
        EXPECT_FALSE(decode(bytes)) << line;
    }
    std::vector<std::uint8_t> huge(kMaxReliableBytes + 1, 0);
    huge[0] = encode(Quit{})[0];
    EXPECT_FALSE(decode(huge));
}

TEST(NetProtocol, NamesAndLinesFromTheOtherMachineAreCleanedAndCut) {
    EXPECT_EQ(cleanName("B\tob\x1b[2J\x7f"), "Bob[2J");
    EXPECT_EQ(cleanName(std::string(40, 'x')), std::string(kMaxNameBytes, 'x'));
    // 31 bytes, then a two-byte character that does not fit whole.
    EXPECT_EQ(cleanName(std::string(31, 'x') + "\xc3\xa9"), std::string(31, 'x'));
    EXPECT_EQ(cleanLine(std::string(300, 'y')).size(), kMaxLineBytes);
    const Hello h = std::get<Hello>(*decode(encode(Hello{1, "1.0", "Ann\n" + std::string(50, 'n')})));
    EXPECT_EQ(h.name, "Ann" + std::string(kMaxNameBytes - 3, 'n'));
    const Event e = std::get<Event>(*decode(encode(Event{1, 1, Input::type("Form3.txtp1name", "A\rnn")})));
    EXPECT_EQ(e.input.text, "Ann");
}

// Strict integer conversion.
#include "rtl/IntConv.h"

#include "rtl/Errors.h"

#include <gtest/gtest.h>

namespace {

struct Accepted {
    const char* text;
    qint32 value;
};

TEST(StrToInt, AcceptsDecimalAndDollarHexWithinThirtyTwoBits)
{
    const Accepted cases[] = {
        { "0", 0 },
        { "  42", 42 },
        { "+7", 7 },
        { "-2147483648", INT32_MIN },
        { "2147483647", INT32_MAX },
        { "$FF", 255 },
        { "$ff", 255 },
        { "$8000000F", qint32(0x8000000F) },
        { "$FFFFFFFF", -1 },
        { "-$10", -16 },
        { "007", 7 },
    };
    for (const Accepted& c : cases)
        EXPECT_EQ(rtl::StrToInt(QByteArray(c.text)), c.value) << c.text;
}

TEST(StrToInt, RefusesEverythingElseNamingTheText)
{
    const char* refused[] = { "", " ", "255 ", "2147483648", "-2147483649", "$", "$100000000", "0x10", "1e3", "12a",
        "\t5", "- 5", "+", "$-1", "4294967296" };
    for (const char* text : refused) {
        try {
            rtl::StrToInt(QByteArray(text));
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const rtl::EConvertError& error) {
            EXPECT_EQ(
                error.message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(text)));
        }
    }
}

} // namespace

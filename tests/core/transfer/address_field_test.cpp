#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "transfer/address_field.h"
#include "files/config.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/data_view_rules.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

const std::string miller = "Miller John, 089 1234\r\nMain Street 5\r\nSpringfield\r\nPhone\r\n\r\n";

class AddressField : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        dataViewRowCount = 20;
    }

    // The Data view shows entry k of text.
    void show(const std::string& text, int32_t k = 0)
    {
        setStoreText(text);
        resetViewState();
        cursorRow = k;
        currentEntryOffset = entryIndex[k];
    }

    static void setOrder(const char* a, const char* b, const char* c, const char* d, const char* e)
    {
        const char* order[5] = {a, b, c, d, e};
        for (int k = 0; k < 5; ++k)
            std::strcpy(addressLineOrder[k], order[k]);
    }

    static void setEmptyLines(bool a, bool b, bool c, bool d)
    {
        addressEmptyLines[0] = a;
        addressEmptyLines[1] = b;
        addressEmptyLines[2] = c;
        addressEmptyLines[3] = d;
    }
};

// Order 1, 2, 3; comma; swap on; an empty line behind position 2 only.
TEST_F(AddressField, DefaultSettingsGiveTheNameSwappedAndTheEmptyLineBehindTheStreet)
{
    show(miller);
    EXPECT_EQ(addressFieldText(), "John Miller\r\nMain Street 5\r\n\r\nSpringfield\r\n");

    // A missing line keeps its place; the flag's empty line comes as well.
    show("Miller\r\n\r\n" + miller);
    EXPECT_EQ(addressFieldText(), "Miller\r\n\r\n\r\n\r\n");

    // Only the name line is cut at a separator; a control byte ends any line.
    show("Miller John\r\nMain Street 5, rear\tbuilding\r\nSpringfield\r\n\r\n");
    EXPECT_EQ(addressFieldText(), "John Miller\r\nMain Street 5, rear\r\n\r\nSpringfield\r\n");
}

TEST_F(AddressField, OrderWithGapsTakesEachEmptyLineFlagEvenBehindUnusedPositions)
{
    setOrder("3", "", "0", "1", "");
    setEmptyLines(true, true, true, true);
    show(miller);
    EXPECT_EQ(addressFieldText(), "Springfield\r\n\r\n\r\n\r\nJohn Miller\r\n\r\n");

    // An order digit past the entry's last line, and the swap off.
    setOrder("9", "4", "1", "", "");
    setEmptyLines(false, false, false, false);
    swapFirstAndLastName = false;
    EXPECT_EQ(addressFieldText(), "\r\nPhone\r\nMiller John\r\n");
}

TEST_F(AddressField, EverySeparatorEndsTheName)
{
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE("separator " + std::to_string(k + 1));
        for (auto& separator : nameSeparators)
            separator[0] = 0;
        nameSeparators[k][0] = '#';
        setOrder("1", "", "", "", "");
        setEmptyLines(false, false, false, false);
        show("Miller John#089 1234, Munich\r\n\r\n");
        EXPECT_EQ(addressFieldText(), "John Miller\r\n");
    }
}

TEST_F(AddressField, NameSwapMovesTheFirstWordBehindTheOthers)
{
    const struct {
        const char* name;
        const char* swapped;
    } cases[] = {
        {"Miller John", "John Miller"},
        {"Miller John Peter", "John Peter Miller"},
        {"Miller", "Miller"},
        {"Miller ", "Miller "},           // the blank is the last byte: no second name
        {"Miller  John", " John Miller"},  // only the first blank goes
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string name = c.name;
        swapFirstAndLastNames(name);
        EXPECT_EQ(name, c.swapped) << '"' << c.name << '"';
    }
}

TEST_F(AddressField, MarkedBlockGivesEveryAddressAndLeavesTheDataViewItsOwnEntry)
{
    show("Adams Ann\r\nOak Road 1\r\nAtown\r\n\r\n"
         "Baker Bob\r\nElm Road 2\r\n\r\n"
         "Clark Cid\r\nAsh Road 3\r\nCtown\r\n\r\n",
         2);
    markActive = true;
    markFirst = 0;
    markLast = 1;
    EXPECT_EQ(addressFieldText(),
              "Ann Adams\r\nOak Road 1\r\n\r\nAtown\r\n\r\n\r\n"
              "Bob Baker\r\nElm Road 2\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(lineTableOwner, entryIndex[2]);
    EXPECT_EQ(lineStart(1), entryIndex[2] + static_cast<int32_t>(std::strlen("Clark Cid\r\n")));
}

}  // namespace

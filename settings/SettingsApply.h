#pragma once

#include "settings/LoadedSettings.h"

#include <string>
#include <vector>

// OK and Apply when another program may have written the file since the pages read it. A key
// the file still holds as read is written as always; one changed in the file but not in the
// sheet keeps the file's value; one changed in both is a conflict, settled by the user before
// anything is written.
class SettingsApply {
public:
    struct Conflict {
        std::string key;
        StoredText inFile;
        std::string here;
    };

    // Reads the file once and sorts the writes the pages gathered, in their order.
    explicit SettingsApply(std::vector<PendingWrite> writes);

    std::vector<Conflict> conflicts() const;
    // Every conflict takes the sheet's value (true) or keeps the file's (false).
    void settle(bool sheetValues);

    // Makes the writes in order, each only while the key still holds the text seen for it, so
    // nothing written in between is overwritten; a key that changed keeps the file's value.
    // Failed writes are reported as always. Returns the keys whose file values were kept.
    std::vector<KeptText> write();

private:
    enum class Fate { Write, Keep, Conflict };
    struct Item {
        PendingWrite write;
        Fate fate;
        bool guarded; // false: no page read the key, so it is written as it is
        StoredText seen;
    };
    std::vector<Item> m_items;
};

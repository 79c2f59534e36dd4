#include <gtest/gtest.h>

#include <set>

#include "data/DatabaseError.h"
#include "data/Error.h"

namespace kq {
namespace {

constexpr int kLastKind = int(ErrorKind::DiskError);

// Each kind has exactly one number, which the message box shows.
TEST(ErrorKinds, EachKindHasOneNumber) {
    for (int k = 0; k <= kLastKind; ++k) {
        int entries = 0;
        for (const ErrorNumber& entry : kErrorNumbers)
            if (entry.kind == ErrorKind(k)) {
                ++entries;
                EXPECT_GT(entry.number, 0) << "kind " << k;
            }
        EXPECT_EQ(entries, 1) << "kind " << k;
    }
    EXPECT_EQ(kErrorNumbers.size(), std::size_t(kLastKind + 1));
    EXPECT_EQ(Error(ErrorKind::MissingColumn, QStringLiteral("x")).number(), 3265);
}

// Faults of the database file are told apart by kind even where they share
// the number the clerk sees.
TEST(ErrorKinds, EachDatabaseFaultHasAKindOfItsOwn) {
    const DatabaseFault faults[] = {DatabaseFault::Damaged,  DatabaseFault::NotAFile,
                                    DatabaseFault::ReadOnly, DatabaseFault::FolderUnwritable,
                                    DatabaseFault::DiskFull, DatabaseFault::NetworkLost,
                                    DatabaseFault::Locked,   DatabaseFault::Other};
    std::set<ErrorKind> kinds;
    for (DatabaseFault fault : faults)
        kinds.insert(DatabaseError(fault, QStringLiteral("/tmp/KQ.db"), {}).kind());
    EXPECT_EQ(kinds.size(), std::size(faults));
    EXPECT_EQ(kinds.count(ErrorKind::ConnectionClosed), 0u);
}

}  // namespace
}  // namespace kq

#pragma once

#include <exception>
#include <functional>
#include <thread>
#include <vector>

#include "import/workbook/Cell.h"
#include "import/workbook/HandOver.h"

namespace kq {

// Reads a sheet on a thread of its own and hands its rows over in batches,
// so that the rows already read are checked and stored while the rest is
// still being inflated and parsed. At most a few batches wait at a time,
// so memory stays small whatever the sheet's size.
class RowsInBackground {
  public:
    // read hands every row of the sheet to the sink it is given, as
    // SheetSource::readSheet does; it runs on the new thread.
    explicit RowsInBackground(std::function<void(const RowSink&)> read);
    // Stops the reading where it is, if it is not done, and waits for it.
    ~RowsInBackground();
    RowsInBackground(const RowsInBackground&) = delete;
    RowsInBackground& operator=(const RowsInBackground&) = delete;

    // The next batch of rows, in the order read gave them; false when all
    // are taken. What read threw is thrown here, once the rows it gave
    // before are taken. The rows batch held before go back to the reading
    // thread, which made them: freed there, they do not contend with it
    // for its heap.
    bool next(std::vector<SheetRow>& batch);

  private:
    struct Abandoned {};  // unwinds the reader when nobody takes its rows

    void run(const std::function<void(const RowSink&)>& read);

    HandOver<std::vector<SheetRow>> batches_{8};
    std::exception_ptr failure_;  // what read threw, kept before the batches finish
    std::thread thread_;
};

}  // namespace kq

#pragma once

#include "support/TemporaryFolder.hpp"

#include <string>
#include <vector>

namespace brindleaf::testing {

// A day of a trip, as three cameras left it in one folder (the times are UTC):
//   07:50:00     Nikon D750  DSC_0100.NEF, DSC_0100.JPG and its sidecar dsc_0100.xmp
//   08:00:05.10  Canon EOS R6 IMG_9999.JPG  } one burst across the counter's rollover,
//   08:00:05.55  Canon EOS R6 IMG_0001.JPG  } in one second
//   08:10:00     iPhone 13   IMG_0012.HEIC
//   08:20:00     Nikon D750  DSC_0101.JPG
//   08:30:00     Canon EOS R6 IMG_0002.CR2, IMG_0002.JPG and its sidecar IMG_0002.cr2.xmp
//   09:03:00     Canon EOS R6 IMG_0012.JPG, the phone photo's counter 53 minutes later
// and notes.txt and a folder, Edits. The Canon writes its zone (+02:00) and the phone its
// own (+01:00); the Nikon writes none, its clock set to Lisbon time (+01:00). Everything
// was last modified on 2024-07-10.
class TripFolder {
public:
    TripFolder();

    [[nodiscard]] const std::string& path() const { return folder_.path(); }
    [[nodiscard]] const TemporaryFolder& folder() const { return folder_; }

    // The photos' groups in the order they were taken.
    static std::vector<std::string> trueOrder();

private:
    TemporaryFolder folder_;
};

// Sets the process's time zone to Berlin's (UTC+1, +2 in summer) until it goes, in a form
// that needs no zone database.
class BerlinTime {
public:
    BerlinTime();
    ~BerlinTime();
    BerlinTime(const BerlinTime&) = delete;
    BerlinTime& operator=(const BerlinTime&) = delete;
};

} // namespace brindleaf::testing

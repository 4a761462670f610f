#include "iso_source_date.h"

#include <string>

#include "reproducible_time.h"

namespace authoring {

// What a reproducible image normalises, so that Linux and Windows builds of the tool write the same bytes:
// - the volume descriptors' creation and modification dates (primary and Joliet), written from the date's
//   digits in UTC rather than converted through the local time zone; their expiration and effective dates
//   stay unset, as always;
// - every directory record's recording date (ISO 9660 and Joliet), which libisofs takes from "now";
// - Rock Ridge's file times (modification, access, attribute change) of every file and folder, which
//   would otherwise come from the game folder's files;
// - Rock Ridge's file serial numbers, which libisofs hands out in the order of the author's inode numbers
//   and of the folders' places in memory: the older Rock Ridge version, which has no serial numbers, is
//   written instead, as mkisofs writes it and every Rock Ridge reader knows it;
// - all dates in UTC, whatever the machine's time zone.
// Always normalised, date or not (see WriteOptions and ImageBuilder): owners (0), modes (0444, 0755 for
// the Linux programs, 0555 for folders), no ACLs or extended attributes, no host or user names, the volume
// set name (the volume ID); libisofs orders directory entries and file data by name, not as the folder was
// read.  Game files that are hard links of each other share their data in the image, as they do on disk.
void ApplySourceDate(IsoWriteOpts* opts, const std::optional<std::int64_t>& seconds) {
    time_t now = 0;
    if (!seconds) {
        iso_nowtime(&now, 2);  // a date set for an earlier image of this process no longer applies
        return;
    }
    now = time_t(*seconds);
    iso_nowtime(&now, 1);
    std::string digits = IsoDateDigits(*seconds);
    iso_write_opts_set_pvd_times(opts, now, now, 0, 0, digits.data());
    iso_write_opts_set_replace_timestamps(opts, 2);
    iso_write_opts_set_default_timestamp(opts, now);
    iso_write_opts_set_always_gmt(opts, 1);
    iso_write_opts_set_rrip_version_1_10(opts, 1);
}

}  // namespace authoring

// Windows: a sync service's placeholder whose text cannot be fetched now
// (OneDrive offline, its program not running). No placeholder can be made
// under Wine, so the errors such a read fails with are checked as a table:
// each must make the file Unreadable (told, never saved over), never
// Missing (which a save would replace).
#include "store/WholeFile.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace almanac {
namespace {

TEST(CloudFileTest, APlaceholderThatCannotBeFetchedIsUnreadableNeverMissing) {
    using Status = FileContents::Status;
    const std::pair<DWORD, Status> cases[] = {
        {ERROR_FILE_NOT_FOUND, Status::Missing},
        {ERROR_PATH_NOT_FOUND, Status::Missing},
        {ERROR_ACCESS_DENIED, Status::Unreadable},
        {ERROR_SHARING_VIOLATION, Status::Unreadable},
        {358, Status::Unreadable},  // ERROR_CLOUD_FILE_SYNC_ROOT_METADATA_CORRUPT
        {362, Status::Unreadable},  // ERROR_CLOUD_FILE_PROVIDER_NOT_RUNNING
        {381, Status::Unreadable},  // ERROR_CLOUD_FILE_READ_ONLY_VOLUME
        {388, Status::Unreadable},  // ERROR_CLOUD_FILE_NETWORK_UNAVAILABLE
        {389, Status::Unreadable},  // ERROR_CLOUD_FILE_UNSUCCESSFUL
        {395, Status::Unreadable},  // ERROR_CLOUD_FILE_ACCESS_DENIED
        {398, Status::Unreadable},  // ERROR_CLOUD_FILE_REQUEST_CANCELED
        {404, Status::Unreadable},  // ERROR_CLOUD_FILE_PROVIDER_TERMINATED
    };
    for (auto [error, status] : cases) EXPECT_EQ(StatusOfFailedRead(int(error)), status) << error;
}

TEST(CloudFileTest, TheUserIsToldWhatTheCloudErrorsMean) {
    // Windows' own words may be missing (Wine has none): the message names
    // the sync service and the code.
    for (int error : {362, 388, 389, 404}) {
        const std::string text = SystemErrorText(error);
        EXPECT_NE(text.find("同步"), std::string::npos) << error;
        EXPECT_NE(text.find(std::to_string(error)), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace almanac

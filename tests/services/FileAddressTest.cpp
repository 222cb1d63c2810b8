// The file:/// addresses of Windows paths, byte for byte (the page tests compare them with Chromium).
#include "services/FileAddress.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

TEST(FileAddress, OfWindowsPaths) {
    struct Case {
        const char* name;
        const char* path;
        const char* want;
    };
    const Case cases[] = {
        {"drive path", "C:\\Program Files (x86)\\Vendrak\\web\\index.html",
         "file:///C:/Program%20Files%20(x86)/Vendrak/web/index.html"},
        {"unc share", "\\\\server\\share\\app\\web\\index.html", "file://server/share/app/web/index.html"},
        {"long-path prefix", "\\\\?\\D:\\tv\\web\\index.html", "file:///D:/tv/web/index.html"},
        {"long unc prefix", "\\\\?\\UNC\\nas\\tv\\index.html", "file://nas/tv/index.html"},
        {"characters an address path cannot hold", "C:\\a#b?c%d\"e<f>g`h{i}j^k|l\x7Fm\\index.html",
         "file:///C:/a%23b%3Fc%25d%22e%3Cf%3Eg%60h%7Bi%7Dj%5Ek%7Cl%7Fm/index.html"},
        {"non-ASCII as UTF-8", "C:\\Fernseh\u00e4pp\\\u65e5\u672c\\index.html",
         "file:///C:/Fernseh%C3%A4pp/%E6%97%A5%E6%9C%AC/index.html"},
        {"kept as they are", "C:\\a-b_c.d~e!f$g&h'i+j,k;l=m@n[o]p\\index.html",
         "file:///C:/a-b_c.d~e!f$g&h'i+j,k;l=m@n[o]p/index.html"},
        {"control character and tab",
         "C:\\a\tb\x01"
         "c\\index.html",
         "file:///C:/a%09b%01c/index.html"},
        {"empty path", "", "file:///"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.want, FileAddressFromPath(c.path));
    }
}

} // namespace
} // namespace vendrak

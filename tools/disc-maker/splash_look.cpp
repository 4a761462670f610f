#include "splash_look.h"

#include "field_text.h"
#include "file_reading.h"
#include "splash_picture.h"

namespace disc_maker {

SplashLook LookAtSplash(const std::wstring& path) {
    SplashLook look;
    if (path.empty()) return look;
    const auto file = autorun::ReadWholeFile(path);
    if (!file) {
        look.problem = path + L": cannot read the file (missing, or not a file)";
        return look;
    }
    try {
        authoring::SplashPicture picture = authoring::PrepareSplash(*file);
        look.jpeg = std::move(picture.jpeg);
        look.width = picture.width;
        look.height = picture.height;
    } catch (const authoring::PictureError& error) {
        look.problem = path + L": " + WindowText(error.what());
    }
    return look;
}

}  // namespace disc_maker

#pragma once
// Loading a picture for the user: the picture library reports failure as status, and this is
// where the user is told about it.
#include <string>

class CPicture;
class CQnProgress;

// LoadPicture into a new picture; on failure tells the user (unless quiet) and returns null.
CPicture* LoadPictureOrComplain(const std::string& path, CQnProgress* progress, bool quiet);

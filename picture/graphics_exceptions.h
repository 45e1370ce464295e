#pragma once
// Errors inside the picture library. They never leave a codec front end: ReadStream,
// WriteStream and PingStream catch everything and return 0.
#include <stdexcept>
#include <string>

class EGraphicsException : public std::runtime_error {
public:
    explicit EGraphicsException(const std::string& message = {}) : std::runtime_error(message) {}
};

// The user cancelled through the progress sink. Deliberately outside the family above.
class EGraphicsAbort {
public:
    EGraphicsAbort() = default;
};

#define QN_GRAPHICS_ERROR(Name, Base)                                                    \
    class Name : public Base {                                                           \
    public:                                                                              \
        explicit Name(const std::string& message = {}) : Base(message) {}                \
    }

QN_GRAPHICS_ERROR(EBmpCorruptFile, EGraphicsException);
QN_GRAPHICS_ERROR(EBmpFileReadError, EGraphicsException);
QN_GRAPHICS_ERROR(EBmpNotABmpFile, EGraphicsException);
QN_GRAPHICS_ERROR(EBmpNotSupported, EGraphicsException);

QN_GRAPHICS_ERROR(EGifError, EGraphicsException);
QN_GRAPHICS_ERROR(EGifCorruptFile, EGifError);
QN_GRAPHICS_ERROR(EGifFileReadError, EGifError);
QN_GRAPHICS_ERROR(EGifNoMoreImages, EGifError);
QN_GRAPHICS_ERROR(EGifNotAGifFile, EGifError);

QN_GRAPHICS_ERROR(EPngError, EGraphicsException);

QN_GRAPHICS_ERROR(EJpegError, EGraphicsException);
QN_GRAPHICS_ERROR(EJpegBadData, EJpegError);
QN_GRAPHICS_ERROR(EJpegBadOutputParameter, EJpegError);
QN_GRAPHICS_ERROR(EJpegIndexOutOfRange, EJpegError);
QN_GRAPHICS_ERROR(EJpegValueOutOfRange, EJpegError);
QN_GRAPHICS_ERROR(EJpegAbort, EGraphicsException);
QN_GRAPHICS_ERROR(EJpegFatal, EGraphicsException);

#undef QN_GRAPHICS_ERROR

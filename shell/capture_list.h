#pragma once
// The pictures a capturing module collects (screen captures, scanned pages): a growable array
// owned by the view, the index of the current picture, and a 16 x 16 thumbnail per picture for
// its tab. With no picture, the tab images hold one placeholder thumbnail instead: the first
// picture replaces it and the last one removed brings it back. Portable; the tab control side
// is shell/capture_tabs_win.h.
#include <cstddef>
#include <memory>
#include <vector>

class CPicture;

class CCaptureList {
public:
    static constexpr int kThumbnailSize = 16;

    // What a change does to the thumbnail images: image i belongs to picture i, and while
    // the list is empty image 0 is the placeholder.
    enum class ImageChange {
        None,
        ReplacePlaceholder, // image 0 becomes the first picture's thumbnail
        Append,             // the new thumbnail is added after the others
        Remove,             // the image at the removed index goes
        RestorePlaceholder, // image 0 becomes the placeholder again
    };

    CCaptureList();
    ~CCaptureList();
    CCaptureList(const CCaptureList&) = delete;
    CCaptureList& operator=(const CCaptureList&) = delete;

    // Appends a picture with its thumbnail and makes it current. An empty picture, or one whose
    // thumbnail cannot be made, is refused (None) and the list stays as it was.
    ImageChange Add(std::unique_ptr<CPicture> picture);
    // Frees the current picture. The current index stays where it was, moved back to the last
    // picture when it falls off the end; with no picture left it is 0. None when empty.
    ImageChange DeleteCurrent();
    // Frees every picture (the view closes); the index goes back to 0.
    void Clear();

    size_t Count() const { return m_pictures.size(); }
    bool IsEmpty() const { return m_pictures.empty(); }
    size_t CurrentIndex() const { return m_current; }
    // Makes picture `index` current (a tab was chosen); false and no change outside the list.
    bool Select(size_t index);
    // The current picture, or null when the list is empty.
    const CPicture* Current() const;
    const CPicture& Picture(size_t index) const { return *m_pictures[index]; }
    const CPicture& Thumbnail(size_t index) const { return *m_thumbnails[index]; }

    // A 16 x 16 nearest-neighbour copy of a picture (its proportions are not kept); null when
    // the picture is empty or the copy cannot be made.
    static std::unique_ptr<CPicture> MakeThumbnail(const CPicture& picture);
    // The image shown while the list is empty: a grey square with a darker frame.
    static std::unique_ptr<CPicture> MakePlaceholder();

private:
    std::vector<std::unique_ptr<CPicture>> m_pictures;
    std::vector<std::unique_ptr<CPicture>> m_thumbnails;
    size_t m_current = 0;
};

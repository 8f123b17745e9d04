// The picture header: takes over the header of an existing list view and gives every column a
// small picture from a bitmap strip of four 16 x 16 pictures (magenta transparent). While the
// user drags a column divider the column shows picture 3, and its own picture again when the
// drag ends.
#pragma once
#include "ListCtrl.h"

class CAdvHeaderCtrl : public CHeaderCtrl {
public:
    // The strip's bitmap resource and the picture shown while a divider is dragged.
    static constexpr UINT PicturesBitmap = 142;
    static constexpr int DragPicture = 3;

    ~CAdvHeaderCtrl() override;

    // Subclasses `header`, gives it the pictures and each present item its own picture, adds
    // hot tracking. FALSE (with a debugger message) when the header cannot be subclassed.
    BOOL Init(HWND header);
    // Gives item `i` picture `i`; items from the fifth on get an index with no picture.
    BOOL ShowOwnPicture(int i);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnBeginTrack(const NMHEADERW* header, LRESULT* result);
    void OnEndTrack(const NMHEADERW* header, LRESULT* result);

    int m_nImageBeforeDrag = -1;  // picture of the column being dragged; -1 when none is
    CImageList m_images;

private:
    // Writes picture `image` into item `i`, keeping its format; FALSE when it cannot be read.
    BOOL SetPicture(int i, int image);
};

// The pictures: the six show modes, the photo frame, the sliding picture and the GIF.
#include "family_dialog.h"
#include "orvo/picture.h"

namespace Gallery {
namespace {

constexpr UINT kGifId = 195;
constexpr UINT kSlidingId = 194;

void Label(FamilyDialog& dialog, const RECT& cell, const wchar_t* text) {
    dialog.AddLabel(RECT{cell.left, cell.top - 22, cell.right + 40, cell.top - 4}, text);
}

RECT Cell(const RECT& content, int column, int row) {
    const int left = content.left + column * 190;
    const int top = content.top + 30 + row * 170;
    return RECT{left, top, left + 160, top + 110};
}

Orvo::MPicture* Picture(FamilyDialog& dialog, const wchar_t* className, UINT id, const RECT& cell,
                        const wchar_t* image, int count) {
    auto* picture = static_cast<Orvo::MPicture*>(dialog.Create(className, id, cell));
    picture->SetImage(image, count);
    return picture;
}

// The animated ones stand still for the picture: the slide has arrived, the GIF shows one
// frame.
void SettleAnimations(FamilyDialog& dialog) {
    if (auto* sliding = static_cast<Orvo::CSliderPicture*>(dialog.GetControl(kSlidingId))) {
        sliding->SetRun(0, Orvo::kSlideFromLeft);
    }
    if (auto* gif = static_cast<Orvo::CGifPicture*>(dialog.GetControl(kGifId))) {
        gif->SetRunState(0, 3);
    }
}

void BuildPictures(FamilyDialog& dialog) {
    dialog.SetMTimer(10);
    const RECT content = dialog.ContentRect();

    RECT cell = Cell(content, 0, 0);
    Label(dialog, cell, L"0 own size, centred");
    auto* own = Picture(dialog, L"MPicture", 190, cell, L"logo\\logo.png", 1);
    own->SetAlignment(1, 4);
    cell = Cell(content, 1, 0);
    Label(dialog, cell, L"1 tiled");
    Picture(dialog, L"MPicture", 191, cell, L"btn_colorful.png", 4)->SetShowMode(Orvo::kShowTiled);
    cell = Cell(content, 2, 0);
    Label(dialog, cell, L"2 stretched");
    Picture(dialog, L"MPicture", 192, cell, L"img_no_device.png", 1)
        ->SetShowMode(Orvo::kShowStretched);
    cell = Cell(content, 3, 0);
    Label(dialog, cell, L"3 nine-patch");
    Picture(dialog, L"MPicture", 193, cell, L"img_area2.png", 1)
        ->SetShowMode(Orvo::kShowNinePatch, 12);
    cell = Cell(content, 4, 0);
    Label(dialog, cell, L"4 insets");
    Picture(dialog, L"MPicture", 196, cell, L"img_area_bkg.png", 1)->SetShowModeMID(12, 12, 12, 12);

    cell = Cell(content, 0, 1);
    Label(dialog, cell, L"5 part stretched");
    Picture(dialog, L"MPicture", 197, cell, L"device\\mouse_102.png", 1)
        ->SetShowModeSource(RECT{60, 40, 340, 240});
    cell = Cell(content, 1, 1);
    Label(dialog, cell, L"CPhotoFrame");
    auto* photo = static_cast<Orvo::CPhotoFrame*>(
        Picture(dialog, L"CPhotoFrame", 198, cell, L"device\\mouse_101.png", 1));
    photo->SetShowMode(Orvo::kShowStretched);
    photo->SetPhotoFrame(L"img_photo_frame.png", 4);
    cell = Cell(content, 2, 1);
    Label(dialog, cell, L"disabled");
    auto* photoOff = static_cast<Orvo::CPhotoFrame*>(
        Picture(dialog, L"CPhotoFrame", 199, cell, L"device\\mouse_101.png", 1));
    photoOff->SetShowMode(Orvo::kShowStretched);
    photoOff->SetPhotoFrame(L"img_photo_frame.png", 4);
    photoOff->SetEnabled(0);
    cell = Cell(content, 3, 1);
    Label(dialog, cell, L"CSliderPicture");
    auto* sliding = static_cast<Orvo::CSliderPicture*>(
        Picture(dialog, L"CSliderPicture", kSlidingId, cell, L"device\\receiver_102.png", 1));
    sliding->SetShowMode(Orvo::kShowStretched);
    sliding->SetRun(1, Orvo::kSlideFromLeft);
    cell = Cell(content, 4, 1);
    cell.right = cell.left + 100;
    cell.bottom = cell.top + 100;
    Label(dialog, cell, L"CGifPicture");
    auto* gif = static_cast<Orvo::CGifPicture*>(dialog.Create(L"CGifPicture", kGifId, cell));
    gif->SetImage(L"loading.gif", 1);
    gif->SetRunState(1, 0);

    dialog.BeforeCapture(SettleAnimations, 2);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"pictures", BuildPictures);

}  // namespace Gallery

#pragma once

class ProfileColor;

// One entry of a handle profile's colour list.
struct ColorChoice {
    ProfileColor* color = nullptr;
    bool onOrder = false; // supplied on order only ("Под заказ")
};

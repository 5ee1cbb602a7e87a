#pragma once

// The product's home page, opened from the tray menu and shown in About Pinvel.
constexpr wchar_t kHomePage[] = L"https://pinvel.example.org/";

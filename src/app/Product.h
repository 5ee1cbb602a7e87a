#pragma once

// The product's home page, opened from the tray menu and shown in About Pinvel.
constexpr char kHomePage[] = "https://pinvel.example.org/";

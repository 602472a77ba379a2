#pragma once

// Names and addresses of the product shown to the user.
class ProductInfo
{
public:
    static constexpr const char* Name = "Vireda";
    static constexpr const char* InternalVersion = "0.8.7";
    static constexpr const char* Domain = "vireda.org";
    static constexpr const char* WebSite = "https://www.vireda.org";
    static constexpr const char* JavaDownloadPage = "https://openjdk.org/install/";
};

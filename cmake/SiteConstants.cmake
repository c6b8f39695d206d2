# The music site's addresses are fixed at build time; the programs read no
# configuration at run time.
set(ZELMORA_DESKTOP_HOST "www.zelmora.example" CACHE STRING
    "Desktop host of the music site, used in the sample track-page address")
set(ZELMORA_MOBILE_ORIGIN "http://m.zelmora.example" CACHE STRING
    "Scheme and host of the site's mobile pages, no slash at the end")
set(ZELMORA_PUBLISHER_ADDRESS "https://zelmora.example" CACHE STRING
    "Publisher's web address shown in the window caption")

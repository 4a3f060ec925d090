#pragma once
// The web pages' brand pictures of a new root: each brand's folder under /mnt/disk/httpd/ODM_image holds
// every picture the brand copy takes (logos, favicon and the sample picture of each model folder). They
// are our own simple drawings - a wave on the brand's colour - made when missing, so that the copy finds
// them; a picture already there (a brand's real one) is kept.

// Draws every missing picture; the number that could not be written (0: all there).
int ProvisionBrandWebImages();

// The boot logo of each brand (/mnt/disk/app/image/<brand>_logo.bmp, a 24-bit bitmap of the boot
// loader's screen size, the brand's wave), made when missing, so that a brand change finds the logo it
// writes to flash; a logo already there is kept. The number that could not be written.
int ProvisionBootLogos();

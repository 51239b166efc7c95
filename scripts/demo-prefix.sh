# Sourced by run.sh and screenshots.sh: a Wine prefix that looks like an ordinary user's
# Windows, and the program folder inside it.

# Writes a 64 x 48 24-bit BMP picture, a colour gradient; $2 and $3 tint it (0-255).
hk_write_bmp() {
  local file=$1 red=$2 blue=$3 x y row=''
  le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
  {
    printf "BM$(le32 9270)$(le32 0)$(le32 54)"
    printf "$(le32 40)$(le32 64)$(le32 48)\\x01\\x00\\x18\\x00$(le32 0)$(le32 9216)$(le32 2835)$(le32 2835)$(le32 0)$(le32 0)"
    for ((y = 0; y < 48; y++)); do
      row=''
      for ((x = 0; x < 64; x++)); do
        row+=$(printf '\\x%02x\\x%02x\\x%02x' $(((blue + x * 2) & 255)) $(((y * 5) & 255)) $(((red + x) & 255)))
      done
      printf "$row"
    done
  } >"$file"
}

# Writes one second of a square-wave tone as an 8 kHz, 8-bit mono WAV file.
hk_write_wav() {
  local file=$1 pattern='' i
  le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
  for ((i = 0; i < 9; i++)); do pattern+='\x50'; done
  for ((i = 0; i < 9; i++)); do pattern+='\xb0'; done
  {
    printf "RIFF$(le32 8036)WAVEfmt $(le32 16)\\x01\\x00\\x01\\x00$(le32 8000)$(le32 8000)\\x01\\x00\\x08\\x00data$(le32 8000)"
    for ((i = 0; i < 445; i++)); do printf "$pattern"; done | head -c 8000
  } >"$file"
}

# hk_seed_user_data <prefix>: a few documents, pictures, a desktop file, some music, a favourite
# and a wallpaper in the prefix's user folders.
hk_seed_user_data() {
  local prefix=$1 user home
  user=$(id -un)
  home=$prefix/drive_c/users/$user
  mkdir -p "$home/Documents/Letters" "$home/Pictures/Holiday" "$home/Music/Demo" "$home/Desktop" "$home/Favorites"
  printf 'Milk\r\nBread\r\nApples\r\nCoffee\r\n' >"$home/Documents/Shopping list.txt"
  printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 Dear Grandma,\\par Thank you for the scarf!\\par}\r\n' \
    >"$home/Documents/Letters/Letter to Grandma.rtf"
  printf 'Month;Rent;Food\r\nJanuary;650;210\r\nFebruary;650;195\r\n' >"$home/Documents/Budget.csv"
  hk_write_bmp "$home/Pictures/Holiday/Beach.bmp" 40 200
  hk_write_bmp "$home/Pictures/Holiday/Sunset.bmp" 220 30
  hk_write_bmp "$home/Pictures/Cat.bmp" 120 120
  hk_write_wav "$home/Music/Demo/Tune.wav"
  printf 'Call the plumber on Monday.\r\n' >"$home/Desktop/Notes.txt"
  printf '[InternetShortcut]\r\nURL=http://example.com/\r\n' >"$home/Favorites/Example.url"
  WINEPREFIX=$prefix wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d "C:\\users\\$user\\Pictures\\Holiday\\Beach.bmp" /f \
    </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
}

# hk_make_user_prefix <prefix>: a new prefix without the Z: drive (so the program sees C: only)
# and with real user folders instead of links into the Linux home.
hk_make_user_prefix() {
  local prefix=$1 link
  WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
  [ -f "$prefix/system.reg" ] || { echo "wineboot could not make a prefix in $prefix" >&2; return 1; }
  rm -f "$prefix/dosdevices/z:"
  for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm "$link"; mkdir -p "$link"; fi
  done
  mkdir -p "$prefix/drive_c/Backups"
}

# hk_install_program <prefix> <program-folder>: C:\Halvorkeep3 with links to the built exe and
# language folder, so a rebuild is picked up; the settings file stays in the prefix.
hk_install_program() {
  local prefix=$1 program=$2 target=$1/drive_c/Halvorkeep3
  mkdir -p "$target"
  ln -sfn "$program/Halvorkeep3.exe" "$target/Halvorkeep3.exe"
  ln -sfn "$program/language" "$target/language"
}

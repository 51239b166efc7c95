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

# hk_seed_user_data <prefix>: a user's data in the prefix, in the places where Windows and the
# usual programs keep it: documents, pictures, music, a desktop file, a favourite, the wallpaper,
# a Quick Launch shortcut, a shared document, Firefox and Thunderbird profiles, Outlook's data
# file and typed-address file, a Windows Live Mail store, a contact, a calendar and a dial-up
# phone book. Running it again writes the same files and values.
hk_seed_user_data() {
  local prefix=$1 user home roaming local_data firefox thunderbird
  user=$(id -un)
  home=$prefix/drive_c/users/$user
  roaming=$home/AppData/Roaming
  local_data=$home/AppData/Local
  firefox=$roaming/Mozilla/Firefox
  thunderbird=$roaming/Thunderbird
  mkdir -p "$home/Documents/Letters" "$home/Pictures/Holiday" "$home/Music/Demo" "$home/Desktop" "$home/Favorites" \
    "$home/Contacts" "$prefix/drive_c/users/Public/Documents" \
    "$roaming/Microsoft/Internet Explorer/Quick Launch" "$roaming/Microsoft/Outlook" "$local_data/Microsoft/Outlook" \
    "$local_data/Microsoft/Windows Calendar/Calendars" "$local_data/Microsoft/Windows Live Mail/Inbox" \
    "$prefix/drive_c/ProgramData/Microsoft/Network/Connections/Pbk" \
    "$firefox/Profiles/t8k2m4qz.default" "$thunderbird/Profiles/w3n7c5ha.default/Mail/Local Folders"
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
  printf '[Shell]\r\nCommand=2\r\nIconFile=explorer.exe,3\r\n[Taskbar]\r\nCommand=ToggleDesktop\r\n' \
    >"$roaming/Microsoft/Internet Explorer/Quick Launch/Show Desktop.scf"
  printf 'Pancakes: 2 eggs, 250 g flour, half a litre of milk.\r\n' >"$prefix/drive_c/users/Public/Documents/Family recipes.txt"
  printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<c:contact xmlns:c="http://schemas.microsoft.com/Contact">' \
    >"$home/Contacts/Ann Smith.contact"
  printf '<c:NameCollection><c:Name><c:FormattedName>Ann Smith</c:FormattedName></c:Name></c:NameCollection></c:contact>\r\n' \
    >>"$home/Contacts/Ann Smith.contact"
  printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nSUMMARY:Dentist\r\nDTSTART:20100315T090000\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
    >"$local_data/Microsoft/Windows Calendar/Calendars/Calendar.ics"
  printf '[Home dial-up]\r\nMEDIA=rastapi\r\nPort=COM1\r\nDevice=Standard 56000 bps Modem\r\nPhoneNumber=0800123456\r\n' \
    >"$prefix/drive_c/ProgramData/Microsoft/Network/Connections/Pbk/rasphone.pbk"
  # Outlook's files only need to be there; their contents are Outlook's own.
  printf '!BDN' >"$local_data/Microsoft/Outlook/Outlook.pst"
  printf '\x0d\xf0\xad\xba' >"$roaming/Microsoft/Outlook/Outlook.nk2"
  printf 'From: Ann Smith <ann@example.com>\r\nSubject: Holiday pictures\r\n\r\nSee you soon!\r\n' \
    >"$local_data/Microsoft/Windows Live Mail/Inbox/Holiday pictures.eml"
  # Firefox and Thunderbird: profiles.ini as they write it, the general section first and the
  # profile's folder relative, with "/".
  printf '[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/t8k2m4qz.default\r\nDefault=1\r\n' \
    >"$firefox/profiles.ini"
  printf 'user_pref("browser.startup.homepage", "http://example.com/");\n' >"$firefox/Profiles/t8k2m4qz.default/prefs.js"
  printf '<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n<DT><A HREF="http://example.com/">Example</A>\n</DL><p>\n' \
    >"$firefox/Profiles/t8k2m4qz.default/bookmarks.html"
  printf '[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/w3n7c5ha.default\r\n' \
    >"$thunderbird/profiles.ini"
  printf 'user_pref("mail.identity.id1.useremail", "user@example.com");\n' \
    >"$thunderbird/Profiles/w3n7c5ha.default/prefs.js"
  printf 'From - Mon Mar 15 09:00:00 2010\r\nSubject: Welcome\r\n\r\nHello!\r\n' \
    >"$thunderbird/Profiles/w3n7c5ha.default/Mail/Local Folders/Inbox"
  WINEPREFIX=$prefix wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d "C:\\users\\$user\\Pictures\\Holiday\\Beach.bmp" /f \
    </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wine reg add 'HKCU\Software\Microsoft\Windows Live Mail' /v 'Store Root' /t REG_EXPAND_SZ \
    /d '%USERPROFILE%\AppData\Local\Microsoft\Windows Live Mail' /f </dev/null >/dev/null 2>&1
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

# hk_share_backups <prefix> <from-prefix>: the prefix's C:\Backups is the other prefix's, as a
# backup drive carried from one machine to the next.
hk_share_backups() {
  mkdir -p "$2/drive_c/Backups"
  rm -rf "$1/drive_c/Backups"
  ln -s "$2/drive_c/Backups" "$1/drive_c/Backups"
}

# hk_install_program <prefix> <program-folder>: C:\Halvorkeep3 with links to the built exe and
# language folder, so a rebuild is picked up; the settings file stays in the prefix.
hk_install_program() {
  local prefix=$1 program=$2 target=$1/drive_c/Halvorkeep3
  mkdir -p "$target"
  ln -sfn "$program/Halvorkeep3.exe" "$target/Halvorkeep3.exe"
  ln -sfn "$program/language" "$target/language"
}

#!/usr/bin/env bash
# The benchmark: in one fresh Wine prefix, backs up a generated tree through the real program and
# copies the same tree with Wine's own xcopy, then restores the backup set through the program and
# copies the set's folder back with xcopy; prints each pair of times, their ratio and the
# program's peak memory. Both sides run under the same wineserver, started and warmed up first.
# usage: bench.sh [--files N] [--big N] [--rounds N]
#   --files N   small files (1 to 16 KB) spread over 200 folders (default 20000)
#   --big N     files of 30 MB beside them (default 3)
#   --rounds N  times each side runs, which side goes first alternating (default 2)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
files=20000 big=3 rounds_wanted=2
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=$2; shift 2 ;;
    --big) big=$2; shift 2 ;;
    --rounds) rounds_wanted=$2; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--files N] [--big N] [--rounds N]" >&2; exit 2 ;;
  esac
done
export LC_ALL=C.UTF-8 WINEDEBUG=-all
HK_BUILD_TARGETS="Halvorkeep3 hkdrive" bash scripts/build.sh i686
. scripts/demo-prefix.sh
build=$root/build/i686
bench=$root/build/bench
cid() { sed -n "s/^#define IDC_$1 \\([0-9]*\\)\$/\\1/p" resources/resource.h; }

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --files "$files" --big "$big" --rounds "$rounds_wanted"
fi

# On this file system, files made within a minute of deleting many others are slow to make (it
# passes over every inode freed that recently): whichever side ran just after a deletion would
# pay for it. So the last run's files go first, and no timed run deletes anything or follows a
# deletion by less than a minute; every copy goes into a folder of its own, deleted at the end.
echo "bench: a fresh Windows 7 prefix"
rm -rf "$bench"
sync
deleted=$(date +%s)
bash scripts/prefixes.sh "$bench" win7 >/dev/null
prefix=$bench/win7
export WINEPREFIX=$prefix
user=$(id -un)
docs=$prefix/drive_c/users/$user/Documents
hk_install_program "$prefix" "$build/program"
mkdir -p "$prefix/drive_c/hktools" "$prefix/drive_c/Backups"
cp "$build/tools/hkdrive.exe" "$prefix/drive_c/hktools/"

echo "bench: writing $files files of 1-16 KB in 200 folders and $big of 30 MB into My Documents"
perl -e '
  my ($dir, $n, $big) = @ARGV;
  srand(42);
  my $block = join("", map { chr(int(rand(256))) } 1 .. 65536);
  for my $i (0 .. $n - 1) {
    my $folder = sprintf("%s/Folder %03d", $dir, $i % 200);
    mkdir $folder unless -d $folder;
    my $size = 1024 + int(rand(15 * 1024 + 1));
    open(my $f, ">", sprintf("%s/file %05d.dat", $folder, $i)) or die;
    binmode $f;
    print $f substr($block, int(rand(65536 - $size)), $size);
    close $f;
  }
  for my $i (1 .. $big) {
    open(my $f, ">", "$dir/big $i.bin") or die;
    binmode $f;
    print $f $block for 1 .. 480;
    close $f;
  }' "$docs" "$files" "$big"

# Only My Documents is backed up: every other category is remembered as "NO".
{
  echo "[CONFIG]"
  echo "LastLanguage=English"
  for k in Desktop WallPaper QuickLaunch MyPictures MyMusic MyVideos IEFavorites IEStartPage OutlookNK2 \
    WindowsMail Wab SharedDocuments Fonts WindowsCalendar RasPhone; do
    echo "Backup$k=NO"
  done
  echo "BackupMyDocuments=YES"
} >"$prefix/drive_c/Halvorkeep3/Halvorkeep.ini"

. scripts/wine-server.sh
hk_server_up "$prefix"
# The copies go, once the server is down, and leave the prefix with the generated tree.
trap 'hk_server_down "$prefix"; rm -rf "$prefix"/drive_c/Backups/Set-* "$prefix"/drive_c/xcopy-* "$docs".restored-*' EXIT
wine cmd /c echo >/dev/null 2>&1 </dev/null
drive() { wine 'C:\hktools\hkdrive.exe' "$@" </dev/null | tr -d '\r'; }
now() { date +%s.%N; }
seconds() { echo "$1 $2" | awk '{printf "%.2f", $2 - $1}'; }

start_program() {
  (cd "$prefix/drive_c/Halvorkeep3" && wine Halvorkeep3.exe </dev/null >/dev/null 2>&1) &
  drive wait-window 30 >/dev/null
}

# Launch is clicked and the job is timed from within the driver (no process start in the
# figures): the listing runs behind the please-wait window until the job panel shows; from then
# on the job copies (its last steps, writing the set's records and the log file, are counted with
# the copy) until the finished caption shows.
run_job() {
  local launch=$1 finished=$2 times
  times=$(drive job "$(cid "$launch")" "$(cid JobPanel)" "$(cid CopyProgress)" "$finished" 3600)
  read -r listing_seconds copy_seconds <<<"$times"
  job_seconds=$(echo "$listing_seconds $copy_seconds" | awk '{printf "%.2f", $1 + $2}')
  peak=$(drive peak-memory)
  drive close 30 >/dev/null || true
  wait || true
}

# time_xcopy <from> <folder>: xcopy of a tree into a new C:\<folder>; its time in xcopy_seconds.
time_xcopy() {
  local t0 t1
  sync
  t0=$(now)
  wine xcopy "$1" "C:\\$2" /E /I /Y /Q </dev/null >/dev/null 2>&1
  t1=$(now)
  xcopy_seconds=$(seconds "$t0" "$t1")
}

# Each side runs twice (or --rounds times), from written-out disks; the better time of each counts, and
# the listing and copy times shown are those of the program's better run.
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a + 0 < b + 0) ? a : b }'; }
backup_seconds='' xcopy_backup='' restore_seconds='' xcopy_restore='' backup_peak=0 restore_peak=0
rounds=''
settle=$((deleted + 61 - $(date +%s)))
if [ "$settle" -gt 0 ]; then
  echo "bench: waiting $settle s for the file system to settle after the last run's files were deleted"
  sleep "$settle"
fi
backup_by_program() {
  echo "bench: round $round: backup through the program"
  mkdir -p "$prefix/drive_c/Backups/Set-$round"
  sync
  start_program
  drive settext "$(cid StoragePath)" "C:\\Backups\\Set-$round" >/dev/null
  drive click "$(cid WelcomeNext)"
  drive wait-visible "$(cid BackupTabSheet1)" 60 >/dev/null
  run_job Launch "Backup job is finished!"
  if [ "$(best "$job_seconds" "$backup_seconds")" != "$backup_seconds" ]; then
    backup_listing=$listing_seconds backup_copy=$copy_seconds
  fi
  backup_seconds=$(best "$job_seconds" "$backup_seconds")
  backup_line="backup $job_seconds s (listing $listing_seconds s, copy $copy_seconds s)"
  [ "$peak" -gt "$backup_peak" ] && backup_peak=$peak
  copied=$(find "$prefix/drive_c/Backups/Set-$round/Archive/Documents" -type f | wc -l)
}

backup_by_xcopy() {
  echo "bench: round $round: the same tree with xcopy"
  time_xcopy "C:\\users\\$user\\Documents" "xcopy-backup-$round"
  xcopy_backup=$(best "$xcopy_seconds" "$xcopy_backup")
  xcopy_backup_line="xcopy $xcopy_seconds s"
}

restore_by_program() {
  echo "bench: round $round: restore through the program (into an empty My Documents)"
  mv "$docs" "$docs.original"
  mkdir "$docs"
  sync
  start_program
  drive click "$(cid RestoreData)"
  drive settext "$(cid BackupPath)" "C:\\Backups\\Set-$round" >/dev/null
  drive click "$(cid WelcomeNext)"
  drive wait-visible "$(cid RestoreTabSheet1)" 60 >/dev/null
  run_job LaunchRestore "Restoration job is finished!"
  if [ "$(best "$job_seconds" "$restore_seconds")" != "$restore_seconds" ]; then
    restore_listing=$listing_seconds restore_copy=$copy_seconds
  fi
  restore_seconds=$(best "$job_seconds" "$restore_seconds")
  restore_line="restore $job_seconds s (listing $listing_seconds s, copy $copy_seconds s)"
  [ "$peak" -gt "$restore_peak" ] && restore_peak=$peak
  restored=$(find "$docs" -type f | wc -l)
  diff -rq "$docs.original" "$docs" >/dev/null && same=yes || same=NO
  # The next round backs up the original tree again.
  mv "$docs" "$docs.restored-$round"
  mv "$docs.original" "$docs"
}

restore_by_xcopy() {
  echo "bench: round $round: the set's folder with xcopy"
  time_xcopy "C:\\Backups\\Set-$round\\Archive\\Documents" "xcopy-restore-$round"
  xcopy_restore=$(best "$xcopy_seconds" "$xcopy_restore")
  xcopy_restore_line="xcopy $xcopy_seconds s"
}

# The side that goes first in a round runs nearest to the file system's last changes: the
# program goes first in odd rounds, xcopy in even ones. The restore copies the set of its round.
for round in $(seq "$rounds_wanted"); do
  if [ $((round % 2)) = 1 ]; then
    backup_by_program; backup_by_xcopy; restore_by_program; restore_by_xcopy
  else
    backup_by_xcopy; backup_by_program; restore_by_xcopy; restore_by_program
  fi
  rounds+="round $round: $backup_line, $xcopy_backup_line; $restore_line, $xcopy_restore_line
"
done

ratio() { echo "$1 $2" | awk '{printf "%.2f", $1 / $2}'; }
mb() { echo "$1" | awk '{printf "%.1f MB", $1 / 1048576}'; }
echo
echo "files: $files small + $big big; backed up $copied, restored $restored, restored tree identical: $same"
printf '%s' "$rounds"
echo "(the better of $rounds_wanted runs each; the program's time is its listing, from Launch until the job"
echo " panel shows, then its copy, until the finished caption; peak memory is its peak working set)"
printf '%-8s %9s %9s %9s %9s %7s %12s\n' job listing copy program xcopy ratio "peak memory"
printf '%-8s %8ss %8ss %8ss %8ss %7s %12s\n' backup "$backup_listing" "$backup_copy" "$backup_seconds" "$xcopy_backup" \
  "$(ratio "$backup_seconds" "$xcopy_backup")" "$(mb "$backup_peak")"
printf '%-8s %8ss %8ss %8ss %8ss %7s %12s\n' restore "$restore_listing" "$restore_copy" "$restore_seconds" \
  "$xcopy_restore" "$(ratio "$restore_seconds" "$xcopy_restore")" "$(mb "$restore_peak")"

#!/bin/sh
# Makes the seed corpora of the fuzz targets: small texts written here and tiny media made
# with the system's ffmpeg (never copied from elsewhere).
# Usage: tests/fuzz/make_seeds.sh [OUTPUT_DIR]   (default: tests/fuzz/seeds)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/seeds}
root=$(cd "$here/../.." && pwd)

seed() { # seed TARGET NAME: standard input becomes the seed
    mkdir -p "$out/$1"
    cat > "$out/$1/$2"
}

# fuzz_private_profile: section, key and value lines, then the file's text.
printf 'Config\nOutput\n/home/me/Videos\n[Config]\nversion=1.0.1\nSoftName=Tovel\nOutput=/tmp\nCProID=3\n' |
    seed fuzz_private_profile config
printf 'config\nCPROID\n"7"\r\n; settings\r\n[config]\r\n  OUTPUT = old \r\nversion=2.0\r\n\r\n[Next]\r\noutput=other' |
    seed fuzz_private_profile crlf-no-final-eol
printf "Main\nName\n 'quoted' \n[Main]\nName=first\nname=second\n[main]\nName=third\n;Name=comment\n" |
    seed fuzz_private_profile repeated-keys-and-sections
printf 'New Section\nkey\nvalue=with=equals\n[ Spaced ]\n=no key\nno equals\n[unclosed\nk="x\n' |
    seed fuzz_private_profile odd-lines
printf 'P\nab\n128\n[P]\nvcodec=1\n;c=2\ns=3\nab=4\nabc=5\n[Q]\nz=\xe9t\xe9 100%%\n' |
    seed fuzz_private_profile eight-bit

# fuzz_job_list: kept job lists, whole and cut short.
printf '{"format": "Tovel Video Converter job list", "version": 1, "output": "/home/me/out",\n "rows": [{"input": "/v/a b.avi", "profile": "MP4 - H.264", "checked": true,\n "status": "Completed", "values": [["b", "800"], ["ab", "128"]]},\n {"input": "/v/\\u00e9t\\u00e9.mkv", "profile": "", "checked": false, "status": "Ready", "values": []}]}\n' |
    seed fuzz_job_list two-rows
printf '{"format": "Tovel Video Converter job list", "version": 1, "rows": [{"input": "/a.avi", "pro' |
    seed fuzz_job_list cut-short

# fuzz_profile_entry: the key line, then the value as a profile file holds it.
printf 'vcodec\n,,mpeg4,{mpeg4,xvid}' | seed fuzz_profile_entry vcodec-list
printf 'r\n,,Auto,{Auto,23.97,24.0,25.0,29.97,30.0}' | seed fuzz_profile_entry rate-auto
printf 'ac\n,,2,{1 (Mono),2 (Stereo)}' | seed fuzz_profile_entry channels
printf 'title\n,,"a, b", {"x, y" , , z}' | seed fuzz_profile_entry quoted-commas
printf 'f\nREADONLY,,mp4' | seed fuzz_profile_entry readonly
printf 'an\n,,False' | seed fuzz_profile_entry switch-off
printf 't\n,,Full' | seed fuzz_profile_entry time-full
printf 'unknown_key\n , reserved , free text ,' | seed fuzz_profile_entry unknown-key

# fuzz_profile: whole profile files, three shipped ones and a few odd ones.
for f in 01-mp4-mpeg4 14-dvd-pal 16-realmedia; do
    seed fuzz_profile "$f.pf" < "$root/profiles/$f.pf"
done
printf '[Main]\nName=Odd\nFormat=avi\n[Parameter]\nr=,,25.0\nf=,,avi\ns=READONLY,,320x240\nb=,128\nss=,,00:00:05\ni=,,/other.avi\ny=,,\nvn=,,True\n' |
    seed fuzz_profile odd-options
printf '[main]\r\nname=Crlf\r\nformat=3gp\r\n[parameter]\r\nvcodec=,,h263\r\nab=,,12.2kk\r\nac=,,1,{1 (Mono)}\r\ntarget=,,pal-dvd\r\n' |
    seed fuzz_profile crlf-lower-case

# fuzz_legacy_options: one byte for what the input holds, then one argument per line.
args() { # args KIND ARG...: the seed's text
    kind=$1
    shift
    printf '%s' "$kind"
    for a in "$@"; do printf '\n%s' "$a"; done
}
args 0 ffmpeg-converter -i /in/clip.avi -vcodec mpeg4 -s 320x240 -b 768k -r 25.0 -acodec libfaac \
    -ab 128k -ar 44100 -ac 2 -async 24 -vsync 24 -y /out/clip.mp4 | seed fuzz_legacy_options mp4
args 1 ffmpeg-converter -i /in/clip.mkv -target pal-dvd -aspect 16:9 -hq -async 24 -vsync 24 -y \
    '/out/-dash clip.mpg' | seed fuzz_legacy_options dvd-target
args 2 ffmpeg-converter -i '/in/100% pic.jpg' -vcodec flv -s 160x120 -croptop 8 -padbottom 4 -an \
    -y /out/pic.flv | seed fuzz_legacy_options picture
args 3 ffmpeg-converter -i /in/tone.wav -vn -acodec libmp3lame -ab 12.2kk -ss 00:00:01 -t 2 \
    -itsoffset -2 -y /out/tone.mp3 | seed fuzz_legacy_options sound
args 0 ffmpeg-converter -info /in/clip.avi | seed fuzz_legacy_options info
args 0 ffmpeg-converter -i /in/a.avs -map 0:0 -me epzs -title 'A title' -unknown v -y /out/a.wmv |
    seed fuzz_legacy_options script-input

# fuzz_avs_script: scripts as the converter writes them, and names to write one for.
printf 'LoadPlugin("plugin\\DirectShowSource.dll")\r\nDirectShowSource("/media/clip.mkv")\r\nreturn last' |
    seed fuzz_avs_script written
printf 'LoadPlugin("plugin\\DirectShowSource.dll")\nDirectShowSource("/m/a "quoted" (1).ogv")\nreturn last\n' |
    seed fuzz_avs_script quotes-parentheses
printf '/media/f\xc3\xbcr Ren\xc3\xa9 100%% "x").webm' | seed fuzz_avs_script name
printf 'DirectShowSource("unclosed\nDirectShowSource("")' | seed fuzz_avs_script broken

# fuzz_progress_lines: the clip's length, then tool lines; ffmpeg's own progress output too.
printf '11\nframe= 10 fps= 25 q= 2.0 size= 12kB time=4.92 bitrate= 9.8kbits/s\na b c d e f g h time=3000000000\nframe=1\nfps=1e300\nout_time_us=3000000000000000\nprogress=end\n' |
    seed fuzz_progress_lines old-and-absurd
printf '0\nStream mapping:\n  Stream #0:0 -> #0:0 (mpeg4 (native) -> mpeg4 (native))\nPress [q] to stop\n' |
    seed fuzz_progress_lines no-length
{
    printf '4.2\n'
    ffmpeg -hide_banner -loglevel error -nostdin -f lavfi -i testsrc=size=320x240:rate=25:duration=8 \
        -f lavfi -i sine=duration=8 -c:v mpeg4 -c:a aac -f null -progress pipe:1 -stats_period 0.02 \
        -nostats - | head -c 3000
} | seed fuzz_progress_lines ffmpeg-progress

# fuzz_media_probe: tiny media of every kind the converter admits.
media() { # media NAME FFMPEG-ARGS...: one tiny file
    mkdir -p "$out/fuzz_media_probe"
    name=$1
    shift
    ffmpeg -hide_banner -loglevel error -nostdin -y "$@" "$out/fuzz_media_probe/$name"
}
video="-f lavfi -i testsrc=size=32x24:rate=5:duration=0.4"
sound="-f lavfi -i sine=sample_rate=8000:duration=0.2"
# shellcheck disable=SC2086
{
    media clip.avi $video $sound -c:v mpeg4 -c:a pcm_u8 -ac 1
    media clip.mp4 $video $sound -c:v mpeg4 -c:a aac -b:a 8k
    media clip.mkv $video $sound -c:v mpeg4 -c:a pcm_s16le
    media clip.flv $video -c:v flv1 -an
    media clip.mpg $video -c:v mpeg1video -r 25 -an
    media clip.3gp $video -c:v h263 -s 128x96 -an
    media tone.wav $sound -c:a pcm_s16le
    media tone.mp3 $sound -c:a libmp3lame -b:a 8k
    media pic.jpg -f lavfi -i testsrc=size=16x12:rate=1 -frames:v 1
    media pic.png -f lavfi -i testsrc=size=16x12:rate=1 -frames:v 1
    media pic.bmp -f lavfi -i testsrc=size=8x6:rate=1 -frames:v 1
    media one.gif -f lavfi -i testsrc=size=16x12:rate=1 -frames:v 1
    media two.gif -f lavfi -i testsrc=size=16x12:rate=2 -frames:v 2
}
echo "make_seeds: seeds in $out"

// The text of --help and --version.
#include "run/usage.h"

#include "platform/format.h"
#include "platform/string_table.h"

namespace tsn {

std::string version_text() {
  return format_printf(load_text(12).c_str(), load_text(10).c_str(), kProgramVersion.data(),
                       kProgramBuild.data()) +
         "\n";
}

std::string banner_status_line() {
  return format_printf(load_status_text(12).c_str(), load_text(10).c_str(),
                       kProgramVersion.data(), kProgramBuild.data());
}

std::string usage_text() {
  return R"(Usage:
  tessaryn                              (the main window, on a display)
  tessaryn [SWITCHES] INPUT [OUTPUT]
  tessaryn [SWITCHES] INPUT [SWITCHES]
  tessaryn @COMMANDFILE
  tessaryn --help | -h | --version      (-h alone; beside an input it is /H)

Without arguments, on a display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM set) and
with Qt 6 built in, opens the main window: pick an input, look at what it holds and save
it as DXF or DWG. Without a display it prints this text and exits with status 2.

Converts one GIS input into one CAD drawing.
  INPUT    a shapefile (.shp), a dBase III point table (.dbf) or a comma-delimited
           table (.csv); the extension is compared ignoring case
  OUTPUT   the drawing to write; ".dxf" writes DXF, any other extension keeps the
           output type of the settings (SaveFileType). ".dwg" writes DWG of release 12
           (/REL=12, the default), 14 (/REL=14) or 2000 (/REL=2000). Without OUTPUT
           the drawing is INPUT with the extension of the output type.
  @FILE    runs every command of a command file, one input with its switches a line;
           with a display (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM set) and Qt 6
           built in, in the batch window, unless a /H line comes before the first command.

A token beginning with "-", or with "/" that has no second "/" before its first "="
and does not end in .shp .dbf .csv .dxf .dwg, is a switch; every other token is a
file name, so absolute paths such as /data/roads.shp are file names.
A first token beginning with ";" makes the line a comment.

Switches ("n" an integer, "r" a real, "list" field numbers from 0 separated by
commas, -1 for all fields, "name" the rest of the token):
  /L=name      all entities on one layer            /LF=n   layer by field n
  /LC=n /L2=n  layer classification type, classes   /C=0|1|2  outlines, fill, both
  /C0=n        one colour n (0: colour by classes)  /C1=n   one fill colour n
  /CF=n        colour key field                     /CC=n /C2=n  colour type, classes
               classification types (/LC, /CC): 0 Quantile, 1 Equal Intervals,
               2 Unique Values; one layer per value of field n is /LF=n /LC=2
  /CP=n        colour scheme number                 /CH=n   hatch pattern 0..32 (R14+)
  /LGL=file    layer classes from a legend range file (turns layer by field on)
  /LGC=file    colour classes from a legend range file
  /T=list      text labels from the listed fields   /TH=r   label height
  /TC=n        label, legend and attribute colour   /TO=n   eliminate double labels
  /TL=n /TLL=name   labels on one layer, its name   /TS=name /TF=file  label style
  /TPxB=n /TPxV=n /TPxJ=n  label position, vertical position, justification of
               points (x=T), lines (x=A) or polygons (x=P); /TPAF=n /TPPF=n placement
  /AB=list     feature attributes as block attributes; /AE=list as extended data
  /APxB=n /APxV=n /APxJ=n /APAF=n /APPF=n   the same positions for attributes
  /P=n         points: 0 POINT, 1..3 marker blocks, -1 a character marker
  /PH=r /PS=name /PF=file   marker height and style
  /E=n /ES=r   elevation from field n, scaled by r  /DX=n /DY=n  X and Y fields of tables
  /V=          draw a legend of the colour classes left of the drawing;
               /VS=name /VF=file its text style
  /REL=12|14|2000   output release of this command (DXF R12, R14 or 2000; R12 and
               R14 are written as text, R2000 through the drawing database)
  /ENC=name    the encoding of the table's text (UTF-8, 1252, ISO-8859-1, 936 ...),
               instead of the .cpg beside the input or the dBase language byte
  /H           run hidden   /N  do not run automatically   /X  exit when done
Table text is converted into the drawing's code page (DWGCodePageString, ANSI_1252 by
default) from /ENC, the .cpg, the dBase language byte or, for delimited tables, a
UTF-8 byte-order mark or valid UTF-8; characters the code page lacks are written
as \U+XXXX, which CAD programs show as the characters.
A switch that is not known, whose value cannot be used, or that names a field the
table does not have is named on a warning line (not with /H) and the run goes on.
Point tables: X and Y are two different numeric fields found by name (EASTING and
NORTHING, LONGITUDE and LATITUDE, LONG/LAT, LON/LAT, X/Y) or given with /DX=n /DY=n;
the separator (comma, semicolon or tab) is taken from the first line; rows without
coordinates are skipped and counted.
Field numbers count from 0 in the order of the table; the summary printed before
each conversion lists the fields with their numbers.
Without /C0, records are coloured by 5 classes of field 0 (or /CF) with colour
scheme 0 of colors.ini; a field named COLOR or PEN gives its own colour numbers.
Defaults for every command come from tsnbatch.ini in the program directory, one
switch a line. In a command file, ";" starts a comment line, a line ending in "\"
continues on the next, an empty line ends the file, and the lines /N, /H and /X set
those options for the rest of the run. A line /G opens a merge group: the commands up
to the line "/O PATH" write nothing of their own and go into one drawing, saved at the
/O line to PATH (DWG for ".dwg", DXF for ".dxf") in the release of the group's first
command. A group that fails or is cancelled writes nothing; the batch stops there.

Settings live in the program directory: $TESSARYN_HOME, else
${XDG_CONFIG_HOME:-$HOME/.config}/tessaryn/ (tsn25.ini, colors.ini, styles.ini,
DEFS/ for the definition files of inputs, tessaryn.log and trace).

An output that is the input or one of its companion files (.shx, .dbf, .cpg) is
refused. A symbolic link as OUTPUT is written through (the link stays); a device
or FIFO is written into, never replaced.

Exit status: 0 every conversion succeeded, 2 a command failed, was cancelled or met
a damaged input file, 1 a fatal error (a write failed: the disk may be full),
128 + the signal number when SIGINT (Ctrl-C, 130), SIGHUP (129), SIGQUIT (131) or
SIGTERM (143) cancelled the run. A cancelled or failed conversion leaves no working
files and keeps an earlier output file as it was. Records refused as malformed or
for numbers that are not finite do not fail a conversion: each is reported, and
they are counted at its end and in a warning.
)";
}

}  // namespace tsn

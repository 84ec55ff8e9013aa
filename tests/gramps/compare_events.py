"""For each person named, the entries Memorion's import makes of a family
tree file against the events Gramps lists for that person in its own tree
(the file imported, or the tree it was exported from): each event's type,
date and place must be among the entries, and no entry may stand for an
event Gramps does not list. Run with Debian's python3, which has Gramps.
  compare_events.py <Gramps tree> <file.ged> <memorion_family_tree_tool> <name>...
A name is as both list it, "Smith, Keith Lloyd", or as Gramps and then as
Memorion list it, separated by "|"."""
import subprocess
import sys

from gramps.gen.db.utils import open_database
from gramps.gen.display.name import displayer as names
from gramps.gen.display.place import displayer as places

# Facts Gramps keeps as attributes or ordinances, not as events.
NOT_EVENTS = {"OBJE", "SSN", "DSCR", "IDNO", "NATI", "RELI", "TITL", "CAST", "NCHI", "NMR", "PROP",
              "BAPL", "CONL", "ENDL", "SLGC", "SLGS"}

tree, ged, tool, wanted = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
db = open_database(tree, force_unlock=True)


def gramps_events(person):
    refs = list(person.get_event_ref_list())
    for family in person.get_family_handle_list():
        refs += db.get_family_from_handle(family).get_event_ref_list()
    for ref in refs:
        event = db.get_event_from_handle(ref.ref)
        date = event.get_date_object()
        place = event.get_place_handle()
        yield (str(event.get_type()), event.get_description(),
               (date.get_day(), date.get_month(), date.get_year()),
               places.display(db, db.get_place_from_handle(place)) if place else "")


def our_entries(name):
    run = lambda *args: subprocess.run([tool, *args], capture_output=True, text=True, check=True).stdout
    ids = [line.split("\t")[0] for line in run("people", ged, name).splitlines()
           if line.split("\t")[1] == name]
    if len(ids) != 1:
        sys.exit(f"FAILED: {len(ids)} people listed as {name!r} in {ged}")
    for line in run("facts", ged, ids[0]).splitlines():
        tag, title, _, dmy, _, place = line.split("\t")[:6]
        yield tag, title, tuple(int(n) for n in dmy.split("/")), place


failed = False
for both in wanted:
    name, ours = (both.split("|") + [both])[:2]
    people = [p for p in db.iter_people() if names.display(p) == name]
    if len(people) != 1:
        sys.exit(f"FAILED: Gramps has {len(people)} people named {name!r}")
    person = people[0]
    expected = list(gramps_events(person))
    left = list(our_entries(ours))
    for kind, description, date, place in expected:
        match = next((e for e in left if e[2] == date and e[3] == place and
                      (e[1].lower().startswith(kind.lower()) or e[1] == description)), None)
        if match is None:
            print(f"FAILED: {name}: Gramps lists {kind} {date} {place!r}, the import has no such entry")
            failed = True
        else:
            left.remove(match)
    for tag, title, date, place in left:
        if tag not in NOT_EVENTS:
            print(f"FAILED: {name}: the import made {title!r} {date} {place!r}, which Gramps does not list")
            failed = True
    print(f"{'' if failed else 'ok: '}{name}: {len(expected)} events as Gramps lists them")
db.close()
sys.exit(1 if failed else 0)

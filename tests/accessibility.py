#!/usr/bin/python3
# The running game as a screen reader finds it over AT-SPI: the names, roles, descriptions and
# values of what a child meets, then a right and a wrong answer typed by keys, each verdict
# received as a screen reader receives it. Writes the words of the first exercise, then the
# verdicts as the screen reader should speak them, one a line, to the file given, for the Orca
# log to be searched for them.
#
#   accessibility.py HEARD_FILE
import subprocess
import sys
import threading
import time

import pyatspi
from gi.repository import GLib

failures = []


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    failures.append(message)


def states(obj):
    return {pyatspi.stateToString(s) for s in obj.getState().getStates()}


def text_of(obj):
    try:
        text = obj.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def game_frame():
    for _ in range(150):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "vorlandi":
                for child in app:
                    if child.getRoleName() == "frame" and child.name == "Quintarel":
                        return child
        time.sleep(0.1)
    return None


frame = game_frame()
if frame is None:
    print("FAIL: no frame 'Quintarel' of the application 'vorlandi' on the bus", file=sys.stderr)
    sys.exit(1)
everything = pyatspi.findAllDescendants(frame, lambda o: True)


def role_of(obj):
    # AT-SPI's own name for a push button became "button" (at-spi2-core 2.50).
    return "push button" if obj.getRole() == pyatspi.ROLE_PUSH_BUTTON else obj.getRoleName()


def find(role, name=None, showing=True):
    for obj in everything:
        if role_of(obj) == role and (name is None or obj.name == name) and \
                ("showing" in states(obj)) == showing:
            return obj
    return None


def expect(role, name, description=None):
    obj = find(role, name)
    if obj is None:
        fail(f"no {role} named '{name}'")
    elif description is not None and obj.description != description:
        fail(f"{role} '{name}' is described as '{obj.description}', not '{description}'")
    else:
        print(f"{role}: '{name}'" + (f" ({obj.description})" if obj.description else ""))
    return obj


# The hidden box holds the digits the game expects; nothing shows it.
digits_box = find("text", "", showing=False)
if digits_box is None:
    print("FAIL: no hidden digits box", file=sys.stderr)
    sys.exit(1)


def digits():
    return text_of(digits_box)


answer = expect("text", "La tua risposta in cifre",
                "Scrivi il numero e poi premi  il tasto Return (Invio)")
if answer is not None and "focused" not in states(answer):
    fail("the answer box has not the focus at start")
words = expect("text", "Il numero in lettere")
if words is not None:
    if "read only" not in states(words):
        fail("the words box takes typing")
    if not text_of(words):
        fail("the words box holds no words")
    print(f"words: '{text_of(words)}' for {digits()}")
    first_words = text_of(words)
number = int(digits())
pictured = "Nessuna figura" if number > 10 else \
    ("1 mappamondo" if number == 1 else f"{number} mappamondi")
picture = expect("image" if number <= 10 else "label", "Figura del numero", pictured)
expect("image", "Uccellino")
expect("image", "Fiocco, il cucciolo che dorme")
for title in ("Risposte esatte", "Risposte errate", "Risposte totali"):
    expect("label", title + ": 0")
expect("push button", "Nuovo calcolo")
expect("push button", "Exit")
for item in ("INFORMAZIONI", "COPYRIGHT", "NUOVO GIOCO"):
    expect("menu item", item)
if find("notification") is None:
    fail("no notification for the verdict")

# The verdicts as they are announced: from Qt 6.8 an announcement of the verdict, which a
# screen reader speaks as it is; before it, a notification shown, with the verdict as its name,
# which it speaks after the word "notification".
qt = tuple(int(part) for part in frame.get_application().get_toolkit_version().split(".")[:2])
announcements = qt >= (6, 8)
spoken_before = "" if announcements else "notification "
announced = []


def on_showing(event):
    if not announcements and event.detail1 and event.source.getRoleName() == "notification":
        announced.append(event.source.name)


def on_announcement(event):
    if announcements:
        announced.append(event.any_data)


pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
pyatspi.Registry.registerEventListener(on_announcement, "object:announcement")
right_digits = digits()


def keys(*names):
    # One at a time, with time for the screen reader to speak what each key reaches.
    for name in names:
        subprocess.run(["xdotool", "key", name], check=True)
        time.sleep(0.6)


def wait_for(count):
    for _ in range(100):
        if len(announced) >= count:
            return True
        time.sleep(0.1)
    return False


def play():
    try:
        time.sleep(0.5)
        # Around the tab order and back to the answer box, then into the menu bar and out.
        keys("Tab", "Tab", "Tab", "Tab")
        keys("F10", "Right", "Right")
        keys("Escape")
        subprocess.run(["xdotool", "type", "--delay", "100", right_digits], check=True)
        keys("Return")
        wait_for(1)
        keys("Return")
        subprocess.run(["xdotool", "type", "--delay", "100", "0"], check=True)
        keys("Return")
        wait_for(2)
    finally:
        GLib.idle_add(pyatspi.Registry.stop)


threading.Thread(target=play, daemon=True).start()
pyatspi.Registry.start()

wrong = "Sbagliato!! " + digits()
expected = ["Esatto, è incredibile!!!", wrong]
print(f"announced: {announced}")
if announced != expected:
    fail(f"announced {announced}, expected {expected}")
frame = game_frame()
everything = pyatspi.findAllDescendants(frame, lambda o: True)
for score in ("Risposte esatte: 1", "Risposte errate: 1", "Risposte totali: 2"):
    expect("label", score)
with open(sys.argv[1], "w", encoding="utf-8") as out:
    out.write("\n".join([first_words] + [spoken_before + v for v in expected]) + "\n")
sys.exit(1 if failures else 0)

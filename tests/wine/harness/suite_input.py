# What the suite hands the program: item texts on the command line, task files
# in the scheduler's store and the lookup databases it installs.

import sqlite3

TASKS = "C:\\windows\\system32\\Tasks"
# The alert window of /AddAutoRun, which shows the new item.
ALERT_CLASS = "TBmark_AutoRunNotice"
ALERT_TITLE = "AutoRunNotice"
LOGON_TRIGGER = "<LogonTrigger><Enabled>true</Enabled></LogonTrigger>"
BOOT_TRIGGER = "<BootTrigger><Enabled>true</Enabled></BootTrigger>"


def hex_arg(text):
    # An item field as the suite passes it: "/" and the hex of its UTF-16 LE bytes.
    return "/" + text.encode("utf-16-le").hex().upper()


def exec_action(command):
    return f"<Exec><Command>{command}</Command></Exec>"


def task_xml(triggers=LOGON_TRIGGER, actions=exec_action("C:\\Tools\\tool.exe"), enabled=True):
    # A task file as the scheduler writes it into its store: UTF-16 LE with BOM.
    text = ('<?xml version="1.0" encoding="UTF-16"?>\r\n'
            '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">\r\n'
            "  <RegistrationInfo><Author>Tarvo</Author></RegistrationInfo>\r\n"
            f"  <Triggers>{triggers}</Triggers>\r\n"
            '  <Principals><Principal id="Author"><UserId>S-1-5-18</UserId></Principal></Principals>\r\n'
            f"  <Settings><Enabled>{'true' if enabled else 'false'}</Enabled></Settings>\r\n"
            f'  <Actions Context="Author">{actions}</Actions>\r\n'
            "</Task>\r\n")
    return b"\xff\xfe" + text.encode("utf-16-le")


def create_lookup_databases(prefix):
    # Empty disable-rate, white and black lists in the program's "Database" folder, as
    # the inventory needs them; returns the folder (a pathlib path).
    database = prefix.unix_path(prefix.program_dir + "Database")
    database.mkdir(parents=True, exist_ok=True)
    for file, table in [("StartupDRate.db", "disableRate(MD5 TEXT, drate TEXT, recommendation TEXT)"),
                        ("startupWhite.db", "whiteList(MD5 TEXT)"), ("startupBlack.db", "blackList(MD5 TEXT)")]:
        path = database / file
        path.unlink(missing_ok=True)
        with sqlite3.connect(path) as db:
            db.execute("CREATE TABLE " + table)
    return database

#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (c) 2026 The Gomcfg developers
# MIT License (see LICENSE in the Gomcfg source)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: settings
short_description: Set or reset the settings of a Gomble Trove II server
description:
  - Changes keys of section C([Gomcfg]) of C(GombleTroveII.ini) on the managed host through
    that host's C(gomcfgctl), with the same keys, types, ranges and file rules as the Gomcfg
    sheet.
  - All keys of one task go to one C(gomcfgctl) call. Every value is checked first; if one is
    invalid, nothing is written and the task fails with every problem named. Otherwise they are
    written in one atomic save, under the same lock as the sheet's saves.
  - Only the lines of the changed keys change. Comments, other sections and keys, the file's
    line ends (CRLF or LF) and its encoding stay as they were. Values already stored change
    nothing, and then the file is not touched at all.
  - The managed host needs C(gomcfgctl), from the gomcfg-terminal package (gomcfgctl).
version_added: 1.0.0
author:
  - The Gomcfg developers
options:
  settings:
    description:
      - The keys to set and their values. Keys are matched ignoring case, as the sheet does.
      - Booleans take C(true)/C(false) (YAML booleans too), C(yes)/C(no), C(on)/C(off) or
        C(1)/C(0) and are written C(true) or C(false).
      - Integers take an optional sign and decimal digits within the key's range; YAML
        integers are accepted as such.
      - Substitutes (the keys ending in C(T)) take a weapon token or the name the sheet shows,
        in any case (C(rockets), C(Rocket Launcher)), and are written as the token.
      - An unknown key fails the task and names the nearest known key.
      - An empty mapping changes nothing and does not run C(gomcfgctl).
    type: dict
  reset:
    description:
      - Keys whose defaults are written, or C(all) for every key.
      - C(gomcfgctl) sets and resets in separate commands, so a task takes either I(settings)
        or I(reset), never both; two tasks would be two saves.
    type: list
    elements: str
  dir:
    description:
      - The directory that holds C(GombleTroveII.ini).
      - Without I(dir) or I(path), C(gomcfgctl) uses C($GOMCFG_WINDIR/GombleTroveII.ini), else
        C(GombleTroveII.ini) in the working directory. Set C(GOMCFG_WINDIR) with the task's
        C(environment) keyword.
      - A missing file reads as all defaults and is created; a missing directory fails the task.
    type: path
  path:
    description:
      - The settings file itself, when it has another name.
    type: path
  gomcfgctl:
    description:
      - The C(gomcfgctl) program on the managed host, a name looked up on C(PATH) or a path.
    type: str
    default: gomcfgctl
notes:
  - Check mode predicts C(changed) and the I(changes) with C(gomcfgctl --dry-run) and writes
    nothing. It checks what the real run checks (the file and its directory writable, the lock
    free), so it fails where the real run would, with the same message and I(rc).
  - Diff mode shows the changed keys as C(KEY=VALUE) lines before and after; a key the file
    lacked has no line before.
seealso:
  - module: gomble.gomcfg.settings_info
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
'''

EXAMPLES = r'''
- name: Server rules
  gomble.gomcfg.settings:
    dir: /srv/gomble
    settings:
      Nfraglimit: 30
      samemap: true
      railgunT: Rocket Launcher
      Nhttpport: 8080

- name: Every key back to its default
  gomble.gomcfg.settings:
    dir: /srv/gomble
    reset: all

- name: Two keys back to their defaults, in a file found through GOMCFG_WINDIR
  gomble.gomcfg.settings:
    reset: [Nfraglimit, Ntimelimit]
  environment:
    GOMCFG_WINDIR: /srv/gomble

- name: A gomcfgctl that is not on PATH
  gomble.gomcfg.settings:
    path: /srv/gomble/GombleTroveII.ini
    gomcfgctl: /opt/gomcfg/bin/gomcfgctl
    settings:
      ctf: false
  register: rules

- name: Restart the server when a setting changed
  ansible.builtin.debug:
    msg: "{{ rules.changes | map(attribute='key') | join(', ') }} changed"
  when: rules is changed
'''

RETURN = r'''
changes:
  description:
    - One entry per key whose stored text changed, or would change in check mode, in the
      order given. Empty when every key already had its value.
    - On failure it is empty, since nothing was written.
  returned: always
  type: list
  elements: dict
  contains:
    key:
      description: The key, spelled as the sheet spells it.
      type: str
      sample: Nfraglimit
    old:
      description: The text stored before; null when the file lacked the key.
      type: str
      sample: '30'
    new:
      description: The text stored now.
      type: str
      sample: '40'
  sample: [{key: Nfraglimit, old: '30', new: '40'}, {key: samemap, old: 'false', new: 'true'}]
file:
  description: The settings file, as an absolute path, as C(gomcfgctl file) names it.
  returned: when C(gomcfgctl) was run
  type: str
  sample: /srv/gomble/GombleTroveII.ini
problems:
  description: The messages of C(gomcfgctl), one per invalid key or value, or the file error.
  returned: failed
  type: list
  elements: str
  sample:
    - "Nfraglimit: '5000' is out of range (0 to 1000)"
    - "unknown key 'fraglimit'; did you mean 'Nfraglimit'?"
rc:
  description: The exit status of C(gomcfgctl); 2 for an invalid key or value, 3 for a file error.
  returned: failed
  type: int
  sample: 2
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.gomble.gomcfg.plugins.module_utils.gomcfgctl import (
    COMMON_ARGUMENT_SPEC,
    COMMON_MUTUALLY_EXCLUSIVE,
    GomcfgctlError,
    assignments,
    change_diff,
    change_result,
    find_gomcfgctl,
    reset_arguments,
    run,
    settings_file,
)

ARGUMENT_SPEC = dict(
    settings=dict(type='dict'),
    reset=dict(type='list', elements='str'),
    **COMMON_ARGUMENT_SPEC
)


def main():
    module = AnsibleModule(
        argument_spec=ARGUMENT_SPEC,
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE + [['settings', 'reset']],
        required_one_of=[['settings', 'reset']],
        supports_check_mode=True,
    )
    p = module.params
    result = dict(changed=False, changes=[])
    # Nothing to set is answered without gomcfgctl, which need not be installed for it.
    if p['settings'] is not None and not p['settings']:
        module.exit_json(**result)
    try:
        binary = find_gomcfgctl(module)
        result['file'] = settings_file(module, binary)
        if p['settings'] is not None:
            arguments = ['set', '--'] + assignments(p['settings'])
        else:
            arguments = ['reset'] + reset_arguments(p['reset'])
        if module.check_mode:
            arguments.insert(0, '--dry-run')
        changed, changes = change_result(run(module, binary, arguments))
    except GomcfgctlError as e:
        result.update(problems=e.problems or [e.msg])
        if e.rc is not None:
            result['rc'] = e.rc
        module.fail_json(msg=e.msg, **result)

    result.update(changed=changed, changes=changes)
    if module._diff:
        result['diff'] = change_diff(changes, result['file'])
    module.exit_json(**result)


if __name__ == '__main__':
    main()

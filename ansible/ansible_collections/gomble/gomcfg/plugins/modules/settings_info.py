#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright (c) 2026 The Gomcfg developers
# MIT License (see LICENSE in the Gomcfg source)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: settings_info
short_description: Read the settings of a Gomble Trove II server and the problems in them
description:
  - Returns every key of section C([Gomcfg]) of C(GombleTroveII.ini) on the managed host with
    the text stored in the file, the value in effect (what the Gomcfg sheet shows) and its
    state, and every problem C(gomcfgctl check) finds, for reports and assert tasks.
  - Reads only; never changes anything.
  - The managed host needs C(gomcfgctl), from the gomcfg-terminal package (gomcfgctl).
version_added: 1.0.0
author:
  - The Gomcfg developers
options:
  dir:
    description:
      - The directory that holds C(GombleTroveII.ini).
      - Without I(dir) or I(path), C(gomcfgctl) uses C($GOMCFG_WINDIR/GombleTroveII.ini), else
        C(GombleTroveII.ini) in the working directory.
      - A missing file reads as all defaults; a missing directory fails the task.
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
seealso:
  - module: gomble.gomcfg.settings
attributes:
  check_mode:
    support: full
  diff_mode:
    support: none
'''

EXAMPLES = r'''
- name: Read the settings
  gomble.gomcfg.settings_info:
    dir: /srv/gomble
  register: gomcfg

- name: The rules every server must have
  ansible.builtin.assert:
    that:
      - gomcfg.settings.Nfraglimit.value == 30
      - gomcfg.settings.samemap.value
      - gomcfg.problems | length == 0
    fail_msg: "{{ gomcfg.problems | map(attribute='message') | list }}"

- name: Keys the file lacks
  ansible.builtin.debug:
    msg: "{{ gomcfg.settings | dict2items | selectattr('value.state', '==', 'default')
             | map(attribute='key') | list }}"
'''

RETURN = r'''
settings:
  description: Every key the sheet knows, in its table order, by the name the sheet spells.
  returned: success
  type: dict
  contains:
    tab:
      description: The sheet's tab that shows the key.
      type: str
      sample: Server Options
    type:
      description: C(boolean), C(integer) or C(weapon).
      type: str
      sample: integer
    default:
      description: The default, typed; null for a substitute without one.
      type: raw
      sample: 20
    allowed:
      description: C([true, false]), C({min, max}) or the list of weapon tokens.
      type: raw
      sample: {min: 0, max: 1000}
    stored:
      description: The text stored in the file; null when the file lacks the key.
      type: str
      sample: '30'
    value:
      description: The value in effect, typed; null for a substitute the sheet cannot read.
      type: raw
      sample: 30
    state:
      description: C(default) (missing), C(ok), C(unreadable) (the sheet reads the text its own
        way) or C(out of range).
      type: str
      sample: ok
  sample:
    Nfraglimit: {tab: Server Options, type: integer, default: 0, allowed: {min: 0, max: 1000},
                 stored: '30', value: 30, state: ok}
problems:
  description: Every problem C(gomcfgctl check) finds in the file; empty when there is none.
  returned: success
  type: list
  elements: dict
  contains:
    line:
      description: The line of the file.
      type: int
    kind:
      description: The kind of problem, such as C(boolean), C(out of range), C(unknown key) or
        C(duplicate).
      type: str
    key:
      description: The key concerned; null for a problem of the file's form.
      type: str
    message:
      description: What is wrong, as C(gomcfgctl check) says it.
      type: str
  sample:
    - {line: 24, kind: boolean, key: samemap,
       message: "samemap: 'True' is not exactly true or false; the sheet reads false"}
file:
  description: The settings file, as an absolute path, as C(gomcfgctl file) names it.
  returned: when C(gomcfgctl) was found
  type: str
  sample: /srv/gomble/GombleTroveII.ini
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.gomble.gomcfg.plugins.module_utils.gomcfgctl import (
    COMMON_ARGUMENT_SPEC,
    COMMON_MUTUALLY_EXCLUSIVE,
    GomcfgctlError,
    find_gomcfgctl,
    run,
    settings_file,
)

ARGUMENT_SPEC = COMMON_ARGUMENT_SPEC


def main():
    module = AnsibleModule(
        argument_spec=ARGUMENT_SPEC,
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE,
        supports_check_mode=True,
    )
    result = dict(changed=False)
    try:
        binary = find_gomcfgctl(module)
        result['file'] = settings_file(module, binary)
        keys = run(module, binary, ['list'])
        # check exits 1 when it finds problems: that is its answer, not a failure.
        problems = run(module, binary, ['check'], ok_codes=(0, 1))
        if not isinstance(keys, list) or not isinstance(problems, list):
            raise GomcfgctlError('gomcfgctl printed no list of keys or problems')
    except GomcfgctlError as e:
        result['problems'] = e.problems or [e.msg]
        if e.rc is not None:
            result['rc'] = e.rc
        module.fail_json(msg=e.msg, **result)
    result['settings'] = dict((k.pop('key'), k) for k in keys)
    result['problems'] = problems
    module.exit_json(**result)


if __name__ == '__main__':
    main()
